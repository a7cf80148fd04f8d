# The tests of this folder that need no windows.h: the folder's test program
# runs them under Wine, and the native build (native/) runs them under the
# sanitizers.
mendora_portable(
  keep_list_test.cpp
)
