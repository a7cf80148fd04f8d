# Sourced by the scripts that build a third-party library from Debian's
# source package at a pinned version (from the project's root):
# fetch_debian_source PIN PACKAGE fetches
# the files the pin file names with an apt of our own (its source list, lists
# and cache live in build/third_party/apt; the machine's apt configuration is
# never changed), refuses any file whose SHA-256 differs from the pin and
# unpacks the package into build/third_party/src/PACKAGE-UPSTREAM, which it
# prints. Quick when already unpacked.
#
# A pin file holds "version V" and one "sha256 FILE SUM" line per file of the
# source package.

# Whether the library is built for every architecture named, with this
# layout of its build options: built_for NAME LAYOUT ARCH...
built_for() {
  local name=$1 layout=$2 arch
  shift 2
  for arch in "$@"; do
    [ "$(cat "build/$arch/third_party/$name/.built" 2>/dev/null)" = "$layout" ] || return 1
  done
}

# deb-src entries for the machine's own Debian archives: the URIs, suites,
# components and keyrings of its deb entries, one-line format.
write_source_list() {
  local out=$1
  : >"$out"
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
         {
           types = ""; uris = ""; suites = ""; comps = ""; key = ""
           for (i = 1; i <= NF; i++) {
             if ($i ~ /^Types:/) types = $i
             else if ($i ~ /^URIs:/) { uris = $i; sub(/^URIs:[ \t]*/, "", uris) }
             else if ($i ~ /^Suites:/) { suites = $i; sub(/^Suites:[ \t]*/, "", suites) }
             else if ($i ~ /^Components:/) { comps = $i; sub(/^Components:[ \t]*/, "", comps) }
             else if ($i ~ /^Signed-By:/) { key = $i; sub(/^Signed-By:[ \t]*/, "", key) }
           }
           if (types !~ /(:|[ \t])deb([ \t]|$)/ || uris == "" || suites == "") next
           opt = key != "" && key !~ /BEGIN/ ? "[signed-by=" key "] " : ""
           n = split(uris, u, /[ \t]+/); m = split(suites, s, /[ \t]+/)
           for (a = 1; a <= n; a++) for (b = 1; b <= m; b++)
             print "deb-src " opt u[a] " " s[b] " " comps
         }' "$f" >>"$out"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]\+/deb-src /p' "$f" >>"$out"
  done
}

# The pinned version of a pin file, and its upstream part (no epoch, no
# Debian revision).
pinned_version() { awk '$1 == "version" { print $2 }' "$1"; }
pinned_upstream() {
  local v
  v=$(pinned_version "$1")
  v=${v#*:}
  echo "${v%-*}"
}

fetch_debian_source() {
  local pin=$1 package=$2
  local root
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  local version upstream
  version=$(pinned_version "$pin")
  upstream=$(pinned_upstream "$pin")
  local src_parent="$root/build/third_party/src"
  local src="$src_parent/$package-$upstream"
  local apt_dir="$root/build/third_party/apt"
  if [ "$(cat "$src/.pinned" 2>/dev/null)" = "$version" ]; then
    echo "$src"
    return 0
  fi
  rm -rf "$src"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts" "$src_parent"
  write_source_list "$apt_dir/sources.list"
  local apt=(apt-get -qq -o Dir::Etc::SourceList="$apt_dir/sources.list"
             -o Dir::Etc::SourceParts="$apt_dir/parts" -o Dir::State::Lists="$apt_dir/lists"
             -o Dir::Cache="$apt_dir/cache" -o APT::Sandbox::User=root)
  local file sum expected missing=0
  while read -r _ file expected; do
    [ "$(sha256sum "$src_parent/$file" 2>/dev/null | cut -d' ' -f1)" = "$expected" ] || missing=1
  done < <(awk '$1 == "sha256"' "$pin")
  if [ "$missing" = 1 ]; then
    "${apt[@]}" update >/dev/null 2>&1 || true
    if ! (cd "$src_parent" &&
          "${apt[@]}" source --download-only "$package=$version" >/dev/null 2>&1); then
      echo "$package $version is not served by this machine's Debian archives." >&2
      echo "Update $pin to a version they serve (version and SHA-256 sums)." >&2
      return 1
    fi
  fi
  while read -r _ file expected; do
    sum=$(sha256sum "$src_parent/$file" 2>/dev/null | cut -d' ' -f1)
    if [ "$sum" != "$expected" ]; then
      echo "$file does not match its SHA-256 sum in $pin." >&2
      return 1
    fi
  done < <(awk '$1 == "sha256"' "$pin")
  local dsc
  dsc=$(awk '$1 == "sha256" && $2 ~ /\.dsc$/ { print $2 }' "$pin")
  (cd "$src_parent" && dpkg-source --no-check -x "$dsc" "$package-$upstream" >/dev/null) || {
    echo "$package source did not unpack" >&2
    return 1
  }
  echo "$version" >"$src/.pinned"
  echo "$src"
}
