# The manifest lines the signing tool writes; the tool itself is built by
# the native build (native/) and run through tools/sign-release.sh.
mendora_portable(
  release_manifest.cpp
)
