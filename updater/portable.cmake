# The files of this folder that need no windows.h: the folder's library
# builds them, and so does the native build (native/), under the sanitizers
# and for the fuzz targets.
mendora_portable(
  build_text.cpp
  install_journal.cpp
  file_name_code.cpp
  local_name.cpp
  release_signature.cpp
  sha256.cpp
  update_query.cpp
)
