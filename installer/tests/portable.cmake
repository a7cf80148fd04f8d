# The tests of this folder that need no windows.h. The installer's script is
# read from the source tree, which only the native build (native/) reaches.
mendora_portable(
  installer_names_test.cpp
)
