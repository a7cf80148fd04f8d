# The files of this folder that need no windows.h: the folder's library
# builds them, and so does the native build (native/), under the sanitizers
# and for the fuzz targets.
mendora_portable(
  file_name.cpp
  keep_list.cpp
  problem_reason.cpp
  task_entry.cpp
)
