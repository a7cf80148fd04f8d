# mendora_add_test(NAME name SOURCES ... LIBS ... [SHELL_FOLDERS] [LOCKS ...])
# One test program per library; ctest runs it through the Wine emulator, the
# programs of a suite side by side. Each has its own temporary folder, App
# Paths entry and test keys, but the user's shell folders (the Internet cache
# and Recent folders) are one per Wine user: SHELL_FOLDERS marks the programs
# that plant problems there or scan them, and ctest runs those one at a time.
# LOCKS names other things a program shares with others (for example
# "parleclient": it runs Parleclient, of which only one copy may run).
# DPI runs the program, and what it starts, at that system DPI in a prefix of
# its own (tools/run-at-dpi.sh), where no other test sees the DPI.
function(mendora_add_test)
  cmake_parse_arguments(T "SHELL_FOLDERS" "NAME;DPI" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest)
  if(T_DPI)
    add_test(NAME ${T_NAME}
      COMMAND bash ${CMAKE_SOURCE_DIR}/tools/run-at-dpi.sh ${MENDORA_WINEPREFIX} ${T_DPI}
              $<TARGET_FILE:${T_NAME}>)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300)
  set(locks ${T_LOCKS})
  if(T_SHELL_FOLDERS)
    list(APPEND locks user_shell_folders)
  endif()
  if(locks)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${locks}")
  endif()
endfunction()

# mendora_add_chat_test(NAME name SOURCES ... LIBS ... [LOCKS ...]): a test
# program that ctest starts inside the support server, on the chat port of
# 127.0.0.1; the tests drive the server through its command port. The chat
# port is one, so these programs run one at a time.
find_program(MENDORA_PYTHON python3 HINTS /usr/bin REQUIRED)

function(mendora_add_chat_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} support_server_control test_support
                        GTest::gtest)
  add_test(NAME ${T_NAME}
    COMMAND ${MENDORA_PYTHON} ${CMAKE_SOURCE_DIR}/chat/server/support_server.py
            --port 9191 --control 0 --quiet
            --run ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${T_NAME}>)
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300 RESOURCE_LOCK "chat_port;${T_LOCKS}")
endfunction()

# mendora_add_update_test(NAME name SOURCES ... LIBS ... [TLS] [LOCKS ...]): a
# test program that ctest starts inside the update server, which serves the
# folder "update-site" beside the program (TLS: also over HTTPS, with a test
# authority). The updater's keys of builds are one per machine, so these
# programs run one at a time; the download library sits beside each of them.
function(mendora_add_update_test)
  cmake_parse_arguments(T "TLS" "NAME" "SOURCES;LIBS;LOCKS" ${ARGN})
  set(tls_option)
  if(T_TLS)
    set(tls_option --tls)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} test_support GTest::gtest)
  add_custom_command(TARGET ${T_NAME} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:fetchkit>
            $<TARGET_FILE_DIR:${T_NAME}>)
  add_test(NAME ${T_NAME}
    COMMAND ${MENDORA_PYTHON} ${CMAKE_SOURCE_DIR}/updater/server/update_server.py
            --port 0 --folder $<TARGET_FILE_DIR:${T_NAME}>/update-site ${tls_option}
            --run ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${T_NAME}>)
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300 RESOURCE_LOCK "update_key;${T_LOCKS}")
endfunction()
