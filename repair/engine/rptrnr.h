/* The repair engine "rptrnr.dll": removes what a list of found problems
 * names. Plain C across the library boundary, so that the program and the
 * engine may be built by different compilers or runtimes.
 *
 * The caller keeps ownership of everything passed in; the engine neither
 * frees nor changes the list. Each entry names one object:
 *
 *   type 0  file      fields[0] = file path                  the file is deleted
 *   type 1  folder    fields[0] = folder path                the folder is removed
 *   type 2  key       fields[0] = root name, fields[1] = key path
 *                                                           the key is deleted with
 *                                                           everything below it
 *   type 3  value     fields[0] = root name, fields[1] = key path,
 *                     fields[2] = value name                 the value is deleted
 *   type 4  raw value as type 3
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

/* Removes the object of every entry, in list order. Returns the number of
 * entries whose object is gone afterwards. */
typedef int(__cdecl* RunReportFunction)(const RepairList* list);

#ifdef RPTRNR_BUILDING
__declspec(dllexport)
#else
__declspec(dllimport)
#endif
    int __cdecl RunReport(const RepairList* list);

#ifdef __cplusplus
}
#endif

#endif
