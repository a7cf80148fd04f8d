# mendora_third_party(TARGET NAME LIBRARY): a static library that
# tools/build-NAME.sh builds from its pinned Debian source into
# build/<arch>/third_party/NAME (include/ and lib/LIBRARY), imported as
# TARGET. The script runs here when the library is missing (tools/build.sh
# runs it first anyway). MENDORA_<NAME>_DIR may name another folder.
function(mendora_third_party target name library)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
    set(arch i686)
  else()
    set(arch x86_64)
  endif()
  string(TOUPPER "${name}" upper)
  set(MENDORA_${upper}_DIR "${CMAKE_SOURCE_DIR}/build/${arch}/third_party/${name}"
      CACHE PATH "Folder with include/ and lib/${library} of ${name} for this architecture")
  set(dir "${MENDORA_${upper}_DIR}")
  if(NOT EXISTS "${dir}/lib/${library}")
    execute_process(COMMAND bash "${CMAKE_SOURCE_DIR}/tools/build-${name}.sh" ${arch}
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0 OR NOT EXISTS "${dir}/lib/${library}")
      message(FATAL_ERROR "${name} for ${arch} is missing: run tools/build-${name}.sh")
    endif()
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION "${dir}/lib/${library}"
    INTERFACE_INCLUDE_DIRECTORIES "${dir}/include")
endfunction()
