# mendora_add_test(NAME name SOURCES ... LIBS ... [SHELL_FOLDERS])
# One test program per library; ctest runs it through the Wine emulator, the
# programs of a suite side by side. Each has its own temporary folder, App
# Paths entry and test keys, but the user's shell folders (the Internet cache
# and Recent folders) are one per Wine user: SHELL_FOLDERS marks the programs
# that plant problems there or scan them, and ctest runs those one at a time.
function(mendora_add_test)
  cmake_parse_arguments(T "SHELL_FOLDERS" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300)
  if(T_SHELL_FOLDERS)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK user_shell_folders)
  endif()
endfunction()
