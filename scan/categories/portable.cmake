# The files of this folder that need no windows.h: the folder's library
# builds them, and so does the native build (native/), under the sanitizers.
mendora_portable(
  wow64_paths.cpp
)
