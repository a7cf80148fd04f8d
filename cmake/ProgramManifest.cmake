# mendora_program_manifest(PROGRAM LEVEL): the application manifest of a
# program, made beside its build as "program.manifest", where its resource
# script finds it (resource 1 of type 24). LEVEL is the requested execution
# level: requireAdministrator for the programs that write the machine's
# registry and the install folder, asInvoker for the others. Without a level,
# Windows treats a 32-bit program as a legacy one and quietly redirects its
# writes into the user's VirtualStore.
function(mendora_program_manifest PROGRAM LEVEL)
  set(MANIFEST_PROGRAM ${PROGRAM})
  set(MANIFEST_LEVEL ${LEVEL})
  configure_file("${PROJECT_SOURCE_DIR}/cmake/program.manifest.in"
                 "${CMAKE_CURRENT_BINARY_DIR}/program.manifest" @ONLY)
  target_include_directories(${PROGRAM} PRIVATE "${CMAKE_CURRENT_BINARY_DIR}")
endfunction()
