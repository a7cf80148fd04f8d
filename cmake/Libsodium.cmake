# The signature library: Debian's libsodium, built statically for this
# architecture by tools/build-libsodium.sh.
include(${CMAKE_CURRENT_LIST_DIR}/ThirdParty.cmake)
mendora_third_party(mendora_sodium libsodium libsodium.a)
# A static libsodium: its header must not declare the functions as imported;
# its random numbers come from advapi32.
set_property(TARGET mendora_sodium PROPERTY INTERFACE_COMPILE_DEFINITIONS SODIUM_STATIC=1)
set_property(TARGET mendora_sodium PROPERTY INTERFACE_LINK_LIBRARIES advapi32)
