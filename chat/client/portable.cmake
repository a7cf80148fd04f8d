# The files of this folder that need no windows.h: the folder's library
# builds them, and so does the native build (native/), under the sanitizers
# and for the fuzz targets.
mendora_portable(
  client_details.cpp
  conversation_log.cpp
  login_rules.cpp
)
