# The JPEG decoder: Debian's libjpeg-turbo, built statically for this
# architecture by tools/build-libjpeg.sh.
include(${CMAKE_CURRENT_LIST_DIR}/ThirdParty.cmake)
mendora_third_party(mendora_jpeg libjpeg libjpeg.a)
