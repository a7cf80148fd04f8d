#include "updater/verified_download.h"

#include <windows.h>

#include "common/app_path.h"
#include "common/suite_registry.h"
#include "updater/build_text.h"
#include "updater/file_replace.h"
#include "updater/local_name.h"
#include "updater/publisher_keys.h"
#include "updater/update_query.h"

namespace updater {

namespace {

// What the server's answer promises, checked before anything is downloaded;
// empty when it may be downloaded, else why not.
std::string refusal(const LumoFile& file, const ListAnswer& fields, std::string& signer) {
    if (!isAcceptableBuildText(fields.newBuild)) return "the server named no usable build";
    if (!isSafeLocalName(fields.localName)) return "the server named an unsafe file name";
    if (!fields.checked) return "the update is not signed by its publisher";
    const ReleaseFacts facts{file.name, fields.newBuild, fields.size, fields.sha256};
    switch (verifyRelease(facts, fields.signatures, publisherKeys(), &signer)) {
        case SignatureVerdict::Valid:
            break;
        case SignatureVerdict::Unsigned:
            return "the update is not signed by its publisher";
        case SignatureVerdict::UnknownKey:
            return "the update is signed by a key that is not the publisher's";
        case SignatureVerdict::Mismatch:
            return "the publisher's signature does not match the update";
    }
    if (compareBuilds(fields.newBuild, file.build) < 0)
        return "build " + fields.newBuild + " is older than the installed " + file.build;
    return std::string();
}

bool refuse(UpdateView& window, LumoFile& file, const std::string& problem) {
    file.problem = problem;
    window.trace("refused " + file.name + ": " + problem);
    window.setStatus("Download Error");
    return false;
}

}  // namespace

bool fetchUpdateFile(UpdateView& window, UpdaterHandle* handle, LumoFile& file) {
    file.downloaded = false;
    const std::string answer = queryFileList(handle, window);
    if (answer.empty() || answer == "-1") {
        file.problem = "the update server offered no download";
        window.setStatus("Update not downloaded; no update found");
        return false;
    }
    const ListAnswer fields = parseListAnswer(answer);
    std::string signer;
    const std::string problem = refusal(file, fields, signer);
    if (!problem.empty()) return refuse(window, file, problem);

    const std::string localPath =
        win::appPathFolder(win::mendoraEntryName()) + "updates\\" + fields.localName;
    if (downloadFile(handle, window, fields.downloadAddress, localPath, fields.size) != 1) {
        file.problem = transfersCancelled(handle) ? "the download was cancelled"
                                                  : "the download did not arrive";
        window.trace("not downloaded: " + file.name);
        window.setStatus("Download Error");
        return false;
    }
    if (!fileMatches(localPath, fields.size, fields.sha256)) {
        DeleteFileA(localPath.c_str());
        return refuse(window, file, "the downloaded file is not the one its publisher signed");
    }
    window.trace("signed by " + signer + ": " + file.name + " build " + fields.newBuild);
    file.downloaded = true;
    file.newBuild = fields.newBuild;
    file.localName = fields.localName;
    file.size = fields.size;
    file.sha256 = fields.sha256;
    window.setStatus("Download Complete: " + localPath);
    return true;
}

}  // namespace updater
