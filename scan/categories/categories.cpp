#include "scan/categories/categories.h"

#include "scan/categories/clean_net_temp.h"
#include "scan/categories/clean_temp.h"
#include "scan/categories/custom_controls.h"
#include "scan/categories/font_paths.h"
#include "scan/categories/help_files.h"
#include "scan/categories/installed_software.h"
#include "scan/categories/recent_documents.h"
#include "scan/categories/shortcut_paths.h"

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
