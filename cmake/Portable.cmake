# mendora_portable(FILE...), called by a folder's portable.cmake: the files
# of the folder that need no windows.h. The folder's CMakeLists includes its
# portable.cmake and builds ${MENDORA_PORTABLE} with the rest of its library
# or test program; the native build (native/) builds the same files with
# clang under the sanitizers, so that one list serves both.
macro(mendora_portable)
  set(MENDORA_PORTABLE ${ARGN})
endmacro()
