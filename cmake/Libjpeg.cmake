# The JPEG decoder: Debian's libjpeg-turbo, built statically for this
# architecture by tools/build-libjpeg.sh (tools/build.sh runs it first).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
  set(_mendora_arch i686)
else()
  set(_mendora_arch x86_64)
endif()
set(MENDORA_LIBJPEG_DIR "${CMAKE_SOURCE_DIR}/build/${_mendora_arch}/third_party/libjpeg"
    CACHE PATH "Folder with include/jpeglib.h and lib/libjpeg.a for this architecture")
if(NOT EXISTS "${MENDORA_LIBJPEG_DIR}/lib/libjpeg.a")
  execute_process(COMMAND bash "${CMAKE_SOURCE_DIR}/tools/build-libjpeg.sh" ${_mendora_arch}
                  RESULT_VARIABLE _mendora_jpeg_result)
  if(NOT _mendora_jpeg_result EQUAL 0 OR NOT EXISTS "${MENDORA_LIBJPEG_DIR}/lib/libjpeg.a")
    message(FATAL_ERROR "libjpeg for ${_mendora_arch} is missing: run tools/build-libjpeg.sh")
  endif()
endif()
add_library(mendora_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(mendora_jpeg PROPERTIES
  IMPORTED_LOCATION "${MENDORA_LIBJPEG_DIR}/lib/libjpeg.a"
  INTERFACE_INCLUDE_DIRECTORIES "${MENDORA_LIBJPEG_DIR}/include")
