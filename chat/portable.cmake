# The files of this folder that need no windows.h: the folder's library
# builds them, and so does the native build (native/), under the sanitizers
# and for the fuzz targets.
mendora_portable(
  blowfish_tables.cpp
  encrypter.cpp
  hello_record.cpp
  line_actions.cpp
  lumo_packet.cpp
  packet_io.cpp
  reconnect_schedule.cpp
)
