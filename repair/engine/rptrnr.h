/* The repair engine "rptrnr.dll": removes what a list of found problems
 * names, and only that. Plain C across the library boundary, so that the
 * program and the engine may be built by different compilers or runtimes.
 *
 * The caller keeps ownership of everything passed in; the engine neither
 * frees nor changes the lists. Each entry names one object:
 *
 *   type 0  file      fields[0] = file path                  the file is deleted
 *   type 1  folder    fields[0] = folder path                the folder is removed
 *                                                           when it is empty
 *   type 2  key       fields[0] = root name, fields[1] = key path
 *                                                           the key is deleted when
 *                                                           it holds no value and no
 *                                                           subkey
 *   type 3  value     fields[0] = root name, fields[1] = key path,
 *                     fields[2] = value name                 the value is deleted
 *   type 4  raw value as type 3
 *
 * A key is never deleted with what is below it: the list names every value
 * and subkey that goes (the backup holds exactly those), and whatever else a
 * key holds keeps it. So that a list's keys can be emptied first, every key
 * entry is handled after the other entries, the deepest key first.
 *
 * Root names are "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
 * "HKEY_USERS" and "HKEY_CURRENT_CONFIG". Texts are zero-terminated ANSI.
 * Entries with fewer fields than their type needs are skipped.
 */
#ifndef RPTRNR_H
#define RPTRNR_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct RepairEntry {
    unsigned char type;
    int fieldCount;
    const char* const* fields;
} RepairEntry;

typedef struct RepairList {
    int count;
    const RepairEntry* entries;
} RepairList;

/* What the caller saw of an entry's object (and backed up): the engine
 * removes the object only while it is still so. */
enum {
    RepairExpectNothing = 0,
    /* A file of fileSize bytes last written at lastWriteTime. */
    RepairExpectFile = 1,
    /* With RepairExpectFile: not used (accessed) after latestAccess, the
     * file having been found unused. */
    RepairExpectUnused = 2,
    /* A value of valueType holding the dataSize bytes at data, as the ANSI
     * registry functions give them. */
    RepairExpectValue = 4
};

typedef struct RepairExpectation {
    unsigned flags;
    unsigned long long fileSize;
    unsigned long long lastWriteTime; /* FILETIME, 100 ns since 1601, UTC */
    unsigned long long latestAccess;  /* FILETIME */
    unsigned long valueType;
    unsigned long dataSize;
    const unsigned char* data;
} RepairExpectation;

/* How one entry went. */
enum {
    RepairRemoved = 0,     /* the engine removed the object */
    RepairAlreadyGone = 1, /* there was no such object any more */
    RepairChanged = 2,     /* it is no longer what the caller saw: left alone */
    RepairNotEmpty = 3,    /* a key or folder that still holds something: left */
    RepairFailed = 4,      /* the platform refused (in use, no rights, ...) */
    RepairSkipped = 5      /* a malformed entry */
};

/* Removes the object of every entry that is still as expected (expectations
 * may be null: nothing is expected), writes each entry's outcome into
 * outcomes[i] when outcomes is not null, and returns the number of entries
 * whose object the engine removed. */
typedef int(__cdecl* RunCheckedReportFunction)(const RepairList* list,
                                               const RepairExpectation* expectations,
                                               int* outcomes);

/* The same without expectations or outcomes; returns the number of entries
 * whose object is gone afterwards. */
typedef int(__cdecl* RunReportFunction)(const RepairList* list);

#ifdef RPTRNR_BUILDING
#define RPTRNR_EXPORT __declspec(dllexport)
#else
#define RPTRNR_EXPORT __declspec(dllimport)
#endif

RPTRNR_EXPORT int __cdecl RunCheckedReport(const RepairList* list,
                                           const RepairExpectation* expectations, int* outcomes);
RPTRNR_EXPORT int __cdecl RunReport(const RepairList* list);

#ifdef __cplusplus
}
#endif

#endif
