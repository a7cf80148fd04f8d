# The files of this folder that need no windows.h: the folder's library
# builds them, and so does the native build (native/), under the sanitizers
# and for the fuzz targets.
mendora_portable(
  backup_index.cpp
  byte_reader.cpp
  byte_writer.cpp
  report_format.cpp
)
