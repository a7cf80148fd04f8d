# The tests of this folder that need no windows.h: the folder's test program
# runs them under Wine, and the native build (native/) runs them under the
# sanitizers.
mendora_portable(
  encrypter_test.cpp
  line_actions_test.cpp
  lumo_packet_test.cpp
  packet_io_test.cpp
  reconnect_schedule_test.cpp
)
