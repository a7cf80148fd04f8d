// The registry names that the suite's programs and its installer
// (installer/mendora.nsi) share, each written once here; a test holds the
// installer to them. Every key is below HKEY_LOCAL_MACHINE. Portable: names
// only.
#pragma once

namespace win {

#define MENDORA_MAKER "Brisklane Technologies"
#define MENDORA_SUITE_KEY "SOFTWARE\\" MENDORA_MAKER "\\Mendora\\"
// The maker's name, which is also the name of the key above the suite's.
constexpr char kMakerName[] = MENDORA_MAKER;
// The suite's own key, with the trailing backslash the programs open it by.
constexpr char kSuiteKey[] = MENDORA_SUITE_KEY;
// The updater's list: one text value per file it may replace (the file's
// encoded name), holding the installed build.
constexpr char kUpdateKey[] = MENDORA_SUITE_KEY "Update\\";
// The builds the updater replaced, one value per file kept in "backup\",
// and the number kUserRestoredValue.
constexpr char kBackupKey[] = MENDORA_SUITE_KEY "Backup\\";
#undef MENDORA_SUITE_KEY
#undef MENDORA_MAKER

// Values of the suite key.
constexpr char kProcessIdValue[] = "id";  // the running Mendora's process id
constexpr char kSupportServerValue[] = "supportServer";
constexpr char kSupportPageValue[] = "supportPage";
constexpr char kUpdateServerValue[] = "updateServer";
// What the chat login line reports of the installation.
constexpr char kVersionValue[] = "version";
constexpr char kReferralValue[] = "ori";
constexpr char kSecondReferralValue[] = "dref";
constexpr char kTdaiValue[] = "tdai";
// Of the Backup key: 1 while the replaced builds can be restored.
constexpr char kUserRestoredValue[] = "userRestored";

// What the programs use when the installer or an administrator set nothing.
constexpr char kDefaultSupportServer[] = "support.brisklane.com";
constexpr char kDefaultSupportPage[] = "http://www.brisklane.com/support.html";
constexpr char kDefaultUpdateServer[] = "http://update.brisklane.com/download.asp";

// The App Paths entries through which the programs find the install folder:
// Mendora's own, and the suite host's that Parleclient reads.
constexpr char kMendoraEntry[] = "Mendora.exe";
constexpr char kSuiteHostEntry[] = "Vimstack.exe";

}  // namespace win
