# The files of this folder that need no windows.h: the folder's library
# builds them, and so does the native build (native/), under the sanitizers
# and for the fuzz targets.
mendora_portable(
  modern_windows_names.cpp
  os_texts.cpp
  resource_lines.cpp
  uptime_text.cpp
)
