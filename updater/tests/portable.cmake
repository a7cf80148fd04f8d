# The tests of this folder that need no windows.h: the folder's test program
# runs them under Wine, and the native build (native/) runs them under the
# sanitizers.
mendora_portable(
  build_text_test.cpp
  release_signature_test.cpp
  sha256_test.cpp
  update_query_test.cpp
)
