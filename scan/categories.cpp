#include "categories.h"

#include "clean_net_temp.h"
#include "clean_temp.h"
#include "custom_controls.h"
#include "font_paths.h"
#include "help_files.h"
#include "installed_software.h"
#include "recent_documents.h"
#include "shortcut_paths.h"

namespace sysrepair {

void createCategories() {
    CustomControls::instance();
    CleanTemp::instance();
    InstalledSoftware::instance();
    FontPaths::instance();
    CleanNetTemp::instance();
    HelpFiles::instance();
    RecentDocuments::instance();
    ShortcutPaths::instance();
}

}  // namespace sysrepair
