# Sourced by the scripts that install the suite or look at an installation:
# the list of installed files (installer/files.txt) and the suite's registry
# key (common/suite_registry.h; a test holds the installer to it).

SUITE_KEY='HKLM\Software\Brisklane Technologies\Mendora'

# installed_files: prints "FROM PATH NAME" for each installed file.
installed_files() {
  grep -Ev '^[[:space:]]*(#|$)' "$(dirname "${BASH_SOURCE[0]}")/../installer/files.txt"
}

# installed_names: the names in the install folder, one a line.
installed_names() {
  installed_files | awk '{ print $3 }'
}

# copy_installed_files BUILD_TREE FOLDER: puts every installed file into the
# folder, from the build tree or the source tree.
copy_installed_files() {
  local tree=$1 folder=$2 from path name root
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  while read -r from path name; do
    mkdir -p "$folder/$(dirname "$name")"
    case "$from" in
      build) cp "$tree/$path" "$folder/$name" ;;
      source) cp "$root/$path" "$folder/$name" ;;
      *) echo "installer/files.txt: unknown origin $from" >&2; return 1 ;;
    esac
  done < <(installed_files)
}
