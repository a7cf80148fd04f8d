/* Fetchkit: the updater's download library, "fetchkit.dll". One transfer at a
 * time, from an http:// or https:// address (port 80 and 443 unless the
 * address names one) into memory or into a file, running on a thread of the
 * library's own while the caller polls it. Plain C, __stdcall, exported under
 * plain names (on i686 also under their decorated ones).
 *
 * Phases: 0 idle, 1 connecting, 2 receiving, 3 ended (with or without data).
 *
 * A transfer ends, with nothing received, when:
 * - the server refuses it or answers with another HTTP status than 200;
 * - an https:// server's certificate is not trusted, has expired, or names
 *   another host (no certificate error is ever ignored);
 * - a step hears nothing from the server for 10 s;
 * - it runs longer than its deadline: 30 s for data kept in memory, 10
 *   minutes for a file;
 * - after its first 10 s, less than 1 KiB a second arrived on average over
 *   the last 10 s (a server that trickles ends in about 10 s);
 * - the server sends more than the transfer may hold (1 MiB in memory, 512
 *   MiB to a file), or less than it announced;
 * - Reset, ScheduleURL or Terminate ends it.
 * Each transfer opens a connection of its own and closes it at its end; no
 * connection is used twice. A connection that is reset before any byte of
 * the answer's body arrived is tried once more, on a new connection, within
 * the same deadline.
 * A file transfer writes to the target's name + ".part" and moves that over
 * the target only when it is complete; otherwise the partial file is deleted.
 * Nothing thrown inside crosses the library boundary.
 */
#ifndef FETCHKIT_H
#define FETCHKIT_H

#ifdef __cplusplus
extern "C" {
#endif

#ifdef FETCHKIT_BUILDING
#define FETCHKIT_API __declspec(dllexport)
#else
#define FETCHKIT_API __declspec(dllimport)
#endif

enum FetchkitPhase {
    FetchkitIdle = 0,
    FetchkitConnecting = 1,
    FetchkitReceiving = 2,
    FetchkitEnded = 3
};

/* Prepares the library; may be called again at any time. Returns 0. */
FETCHKIT_API int __stdcall Initialize(void);

/* Ends a running transfer (waiting for its thread) and forgets the last one's
 * data. Returns 0. */
FETCHKIT_API int __stdcall Reset(void);

/* Starts a transfer of `address` and returns at once: 0 when it started, 1
 * when the address is missing or neither an http:// nor an https:// address. `flags` must be 0
 * and `reserved` may be anything; both are for later use. An empty or null
 * `target` keeps the data in memory; otherwise it is the file to write. The
 * texts are copied. A transfer still running is ended first. */
FETCHKIT_API int __stdcall ScheduleURL(const wchar_t* address, int flags, const wchar_t* reserved,
                                       const wchar_t* target);

/* The phase of the current transfer. */
FETCHKIT_API int __stdcall GetPhase(void);

/* After an in-memory transfer: the number of bytes received (0 when nothing
 * was). 0 before the end. */
FETCHKIT_API int __stdcall GetDataLen(void);

/* After an in-memory transfer: the data as a zero-terminated UTF-16 text
 * (from the ANSI code page), owned by the library until the next Reset or
 * ScheduleURL. Returns 0; an empty text when there is none. */
FETCHKIT_API int __stdcall GetData(const wchar_t** data);

/* The size the server announced for the current transfer; 0 until then. */
FETCHKIT_API unsigned __stdcall GetTotalDownloadBytes(void);

/* The bytes received so far. After the end of a file transfer: non-zero
 * exactly when the file was received whole and is in place. */
FETCHKIT_API unsigned __stdcall GetReadBytes(void);

/* Ends any transfer and releases the library's connection to the network.
 * Returns 0. */
FETCHKIT_API int __stdcall Terminate(void);

#ifdef __cplusplus
}
#endif

#endif
