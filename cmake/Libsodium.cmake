# The signature library: Debian's libsodium, built statically for this
# architecture by tools/build-libsodium.sh (tools/build.sh runs it first).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
  set(_mendora_arch i686)
else()
  set(_mendora_arch x86_64)
endif()
set(MENDORA_LIBSODIUM_DIR "${CMAKE_SOURCE_DIR}/build/${_mendora_arch}/third_party/libsodium"
    CACHE PATH "Folder with include/sodium.h and lib/libsodium.a for this architecture")
if(NOT EXISTS "${MENDORA_LIBSODIUM_DIR}/lib/libsodium.a")
  execute_process(COMMAND bash "${CMAKE_SOURCE_DIR}/tools/build-libsodium.sh" ${_mendora_arch}
                  RESULT_VARIABLE _mendora_sodium_result)
  if(NOT _mendora_sodium_result EQUAL 0 OR NOT EXISTS "${MENDORA_LIBSODIUM_DIR}/lib/libsodium.a")
    message(FATAL_ERROR "libsodium for ${_mendora_arch} is missing: run tools/build-libsodium.sh")
  endif()
endif()
add_library(mendora_sodium STATIC IMPORTED GLOBAL)
set_target_properties(mendora_sodium PROPERTIES
  IMPORTED_LOCATION "${MENDORA_LIBSODIUM_DIR}/lib/libsodium.a"
  INTERFACE_INCLUDE_DIRECTORIES "${MENDORA_LIBSODIUM_DIR}/include")
# A static libsodium: its header must not declare the functions as imported;
# its random numbers come from advapi32.
set_property(TARGET mendora_sodium PROPERTY INTERFACE_COMPILE_DEFINITIONS SODIUM_STATIC=1)
set_property(TARGET mendora_sodium PROPERTY INTERFACE_LINK_LIBRARIES advapi32)
