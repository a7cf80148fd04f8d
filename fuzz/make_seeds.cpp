// make_seeds FOLDER: writes the seed corpora of the fuzz targets into
// FOLDER/<target>/, each made by the suite's own encoders (the files and
// packets the suite itself writes), so that the corpora stay true to the
// formats. The JPEG seeds are skin pictures, copied by tools/fuzz.sh.
#include <sys/stat.h>
#include <cstdio>
#include <string>
#include <vector>

#include "chat/client/client_details.h"
#include "chat/hello_record.h"
#include "chat/lumo_packet.h"
#include "repair/backup_index.h"
#include "repair/report_format.h"
#include "scan/keep_list.h"
#include "updater/install_journal.h"

namespace {

std::string root;

void write(const std::string& target, const std::string& name, const std::string& bytes) {
    const std::string folder = root + "/" + target;
    mkdir(folder.c_str(), 0755);
    FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string text(const lumonet::Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

void le32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i));
}

void le64(std::string& s, uint64_t v) {
    le32(s, static_cast<uint32_t>(v));
    le32(s, static_cast<uint32_t>(v >> 32));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    root = argv[1];
    mkdir(root.c_str(), 0755);

    sysrepair::KeepList kept;
    write("keep_list", "empty.txt", sysrepair::formatKeepList(kept));
    kept.add({sysrepair::KeptKind::Problem,
              sysrepair::EntryRegText,
              {"HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Windows\\Help", "a%b\tc.hlp"}});
    kept.add({sysrepair::KeptKind::Folder, sysrepair::EntryFile, {"C:\\Temp\\keep\\"}});
    kept.add({sysrepair::KeptKind::Key, sysrepair::EntryFile, {"HKEY_CLASSES_ROOT", "CLSID"}});
    kept.add({sysrepair::KeptKind::FileType, sysrepair::EntryFile, {".log"}});
    write("keep_list", "four.txt", sysrepair::formatKeepList(kept));

    using sysrepair::BackupIndex;
    BackupIndex index;
    write("backup_index", "empty.vsi", index.encode());
    index.add({1700000000, "C:\\Mendora\\bak\\0", "Custom Controls: 3, Drive Cleaner: 12"});
    write("backup_index", "one.vsi", index.encode());
    index.add({1700003600, "C:\\Mendora\\bak\\1", "Windows Shortcuts: 1"});
    index.add({1700007200, "C:\\Mendora\\bak\\2", ""});
    write("backup_index", "three.vsi", index.encode());

    sysrepair::ReportEncoder report("Custom Controls");
    report.addRegKey(0x80000000u, "CLSID\\{00000000-1111-2222-3333-444444444444}");
    report.addRegValue(0x80000002u, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts",
                       "Test (TrueType)", 1, {'a', '.', 't', 't', 'f', 0});
    report.addRegValue(0x80000001u, "Software\\Test", "Count", 4, {1, 0, 0, 0});
    write("report", "registry.srb", report.bytes());
    sysrepair::ReportEncoder files("Drive Cleaner");
    files.addFile("C:\\windows\\temp\\old.tmp", "C:\\Mendora\\bak\\0\\files\\old.tmp.bak");
    files.addFolder("C:\\windows\\temp\\empty");
    write("report", "files.srb", files.bytes());

    const lumonet::Bytes key = {'s', 'u', 'p', 'p', 'o', 'r', 't', '-', 'k', 'e', 'y'};
    const std::string hello = "/$chat Bob: Hello Alice, this is support.";
    const std::string logon = "/$adminLogon Bob";
    write("packet", "one.pkt",
          text(lumonet::buildPacket(reinterpret_cast<const uint8_t*>(hello.data()), hello.size(),
                                    key)));
    write("packet", "two.pkt",
          text(lumonet::buildPacket(reinterpret_cast<const uint8_t*>(logon.data()), logon.size(),
                                    key)) +
              text(lumonet::buildPacket(reinterpret_cast<const uint8_t*>(hello.data()),
                                        hello.size(), key)));

    uint8_t record[lumonet::helloSize];
    lumonet::encodeHello(lumonet::HelloRecord(), record);
    write("hello", "ours.hello", std::string(reinterpret_cast<char*>(record), sizeof record));

    write("client_details", "alice.dat",
          chatclient::encodeClientDetails({"Alice", "alice@example.com", "127.0.0.1", "9191"}));
    write("client_details", "empty-email.dat",
          chatclient::encodeClientDetails({"Bob", "", "support.brisklane.com", "9191"}));

    write("list_answer", "plain.txt", "7,Mendora.exe,1.0.0.8,mendora.exe,http://h/files/a,b,c");
    write("list_answer", "checked.txt",
          "1867293,9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08,1.0.0.8,"
          "mendora.exe,http://127.0.0.1:8000/files/Mendora.exe");
    write("list_answer", "encoded.txt", "7,x.dll,2,+~tools~x.dll,http://h/x.dll");
    write("list_answer", "signed.txt",
          "5,9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08;ed25519:"
          "c9ea8e3ac64334a5:" +
              std::string(128, 'a') + ";ed25519:0123456789abcdef:" + std::string(128, '0') +
              ",1.0.0.9,mendora.exe,http://h/files/Mendora.exe");

    updater::InstallJournal journal;
    journal.files.push_back({"Mendora.exe", "Mendora.exe", "1.0.0.7", "1.0.0.8", 1867293,
                             "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08"});
    journal.files.push_back({"+~tools~x.dll", "x.dll", "1", "2", 0, std::string(64, 'e')});
    write("install_journal", "preparing.txt", updater::formatJournal(journal));
    journal.phase = updater::InstallJournal::Phase::Replacing;
    write("install_journal", "replacing.txt", updater::formatJournal(journal));

    write("chat_line", "chat.txt", "/$chat Bob: Hello Alice");
    write("chat_line", "logon.txt", "/$adminLogon Bob");
    write("chat_line", "grab.txt", "/$grabRequest Carol");
    write("chat_line", "plain.txt", "Bob: how can I help?");

    std::string ports(1, '\x01');
    le32(ports, 1);
    le32(ports, 40);
    le64(ports, 0x3F8);
    le64(ports, 0x3FF);
    le32(ports, 0);
    ports.append(12, '\0');
    le64(ports, 0x3F8);
    le64(ports, 0x3FF);
    ports.append(12, '\0');
    write("resource_lines", "ports.bin", ports);
    std::string irq(1, '\x03');
    le32(irq, 1);
    le32(irq, 12);
    le32(irq, 0);
    le32(irq, 11);
    le32(irq, 1);
    le32(irq, 9);
    le32(irq, 12);
    le32(irq, 0);
    write("resource_lines", "irq.bin", irq);
    return 0;
}
