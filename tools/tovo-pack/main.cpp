// tovo-pack: makes a self-extracting package from the Tovo stub, a configuration
// record and a zip archive (an existing one, or one made from files and folders).
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "record.h"
#include "zip_check.h"
#include "zip_writer.h"

namespace {

namespace fs = std::filesystem;
using tovo_pack::Record;

const char kUsage[] =
    "usage: tovo-pack --stub STUB -o PACKAGE [options] (--zip ARCHIVE | FILE_OR_FOLDER...)\n"
    "\n"
    "Configuration record:\n"
    "  --caption TEXT          title of the messages (default PROGRAM)\n"
    "  --folder TEXT           default folder: a path, >< for the temporary folder, or a\n"
    "                          registry form such as HKLM\\Software\\X\\Dir|Sub\n"
    "  --command TEXT          command after extraction: program[|parameters]; ><\n"
    "                          stands for the extraction folder\n"
    "  --message TEXT          start-up message\n"
    "  --message-type TYPE     plain (default), okcancel or yesno\n"
    "  --overwrite POLICY      confirm (default), always or never\n"
    "  --run-checkbox          show the run check box\n"
    "  --select-files          show the selectable file list\n"
    "  --hide-overwrite        hide the overwrite choice\n"
    "  --no-size-check         skip the check that the archive ends the file\n"
    "  --no-finished           no \"Finished.\" message after extraction\n"
    "  --flags N               the flag byte as a number (replaces the flag options)\n"
    "  --spare N               the record's spare field (default 256)\n"
    "  --padding N             zero bytes after the texts (default 0)\n"
    "Archive made from files and folders:\n"
    "  --store                 store instead of deflate\n"
    "  --level N               deflate level 1..9 (default 9)\n"
    "  --password TEXT         traditional zip encryption (at most 79 characters)\n"
    "Stub:\n"
    "  --stub-size N           the length the stub must have (default 39424)\n";

// The stub's length, where it expects its configuration record.
constexpr unsigned long kStubSize = 39424;
// The stub reads at most this many password characters.
constexpr std::size_t kLongestPassword = 79;

int Fail(const std::string& message) {
    std::fprintf(stderr, "tovo-pack: %s\n", message.c_str());
    return 2;
}

bool ParseNumber(const char* text, unsigned long limit, unsigned long* value) {
    char* end = nullptr;
    *value = std::strtoul(text, &end, 0);
    return end != text && *end == '\0' && *value <= limit;
}

}  // namespace

int main(int argc, char** argv) {
    Record record;
    tovo_pack::ZipOptions zipOptions;
    std::string stub, output, zipPath, messageType = "plain", overwrite = "confirm";
    std::vector<fs::path> inputs;
    int explicitFlags = -1;
    std::uint8_t flags = 0;
    unsigned long stubSize = kStubSize;
    bool zipOptionGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string* into) {
            if (i + 1 >= argc) return false;
            *into = argv[++i];
            return true;
        };
        unsigned long number = 0;
        std::string text;
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--stub") {
            if (!value(&stub)) return Fail("--stub needs a file");
        } else if (arg == "-o" || arg == "--output") {
            if (!value(&output)) return Fail("-o needs a file");
        } else if (arg == "--zip") {
            if (!value(&zipPath)) return Fail("--zip needs a file");
        } else if (arg == "--caption") {
            if (!value(&record.caption)) return Fail("--caption needs a text");
        } else if (arg == "--folder") {
            if (!value(&record.defaultFolder)) return Fail("--folder needs a text");
        } else if (arg == "--command") {
            if (!value(&record.command)) return Fail("--command needs a text");
        } else if (arg == "--message") {
            if (!value(&record.startupMessage)) return Fail("--message needs a text");
        } else if (arg == "--message-type") {
            if (!value(&messageType)) return Fail("--message-type needs a type");
        } else if (arg == "--overwrite") {
            if (!value(&overwrite)) return Fail("--overwrite needs a policy");
        } else if (arg == "--run-checkbox") {
            flags |= tovo_pack::kShowRunCheckBox;
        } else if (arg == "--select-files") {
            flags |= tovo_pack::kUserSelectsFiles;
        } else if (arg == "--hide-overwrite") {
            flags |= tovo_pack::kHideOverwriteChoice;
        } else if (arg == "--no-size-check") {
            flags |= tovo_pack::kSkipSizeCheck;
        } else if (arg == "--no-finished") {
            flags |= tovo_pack::kNoFinishedMessage;
        } else if (arg == "--flags" || arg == "--spare" || arg == "--padding" || arg == "--level" ||
                   arg == "--stub-size") {
            const unsigned long limit = arg == "--flags"       ? 0xFF
                                        : arg == "--level"     ? 9
                                        : arg == "--stub-size" ? 0x40000000
                                                               : 0xFFFF;
            if (!value(&text) || !ParseNumber(text.c_str(), limit, &number)) {
                return Fail(arg + " needs a number up to " + std::to_string(limit));
            }
            if (arg == "--flags") explicitFlags = static_cast<int>(number);
            if (arg == "--spare") record.spare = static_cast<std::uint16_t>(number);
            if (arg == "--padding") record.padding = static_cast<std::uint32_t>(number);
            if (arg == "--level") {
                zipOptions.level = static_cast<int>(number);
                zipOptionGiven = true;
            }
            if (arg == "--stub-size") stubSize = number;
        } else if (arg == "--store") {
            zipOptions.store = true;
            zipOptionGiven = true;
        } else if (arg == "--password") {
            if (!value(&zipOptions.password) || zipOptions.password.empty())
                return Fail("--password needs a text");
            if (zipOptions.password.size() > kLongestPassword) {
                return Fail("--password is " + std::to_string(zipOptions.password.size()) +
                            " characters long; the stub reads at most 79");
            }
            zipOptionGiven = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Fail("unknown option " + arg + " (see --help)");
        } else {
            inputs.emplace_back(arg);
        }
    }
    if (stub.empty() || output.empty()) return Fail("--stub and -o are required (see --help)");
    if (zipPath.empty() == inputs.empty())
        return Fail("give either --zip ARCHIVE or files and folders to pack (not both)");
    if (!zipPath.empty() && zipOptionGiven)
        return Fail("--store, --level and --password apply to files and folders, not to --zip");

    if (overwrite == "always")
        flags |= tovo_pack::kOverwriteAlways;
    else if (overwrite == "never")
        flags |= tovo_pack::kOverwriteNever;
    else if (overwrite != "confirm")
        return Fail("--overwrite is confirm, always or never");
    record.flags = explicitFlags >= 0 ? static_cast<std::uint8_t>(explicitFlags) : flags;
    if (messageType == "okcancel")
        record.startupMessage.insert(0, 1, '\x01');
    else if (messageType == "yesno")
        record.startupMessage.insert(0, 1, '\x02');
    else if (messageType != "plain")
        return Fail("--message-type is plain, okcancel or yesno");
    if (messageType != "plain" && record.startupMessage.size() == 1) {
        return Fail("--message-type needs a --message");
    }

    std::vector<std::uint8_t> stubBytes, recordBytes, zip;
    std::string error;
    if (!tovo_pack::ReadAll(stub, &stubBytes)) return Fail("cannot read the stub " + stub);
    // The stub finds its record at its own length; any other length breaks the package.
    if (stubBytes.size() != stubSize) {
        return Fail("the stub " + stub + " is " + std::to_string(stubBytes.size()) +
                    " bytes long; a Tovo stub is exactly " + std::to_string(stubSize) +
                    " (--stub-size for another)");
    }
    if (!tovo_pack::EncodeRecord(record, &recordBytes, &error)) return Fail(error);
    if (!zipPath.empty()) {
        if (!tovo_pack::ReadAll(zipPath, &zip)) return Fail("cannot read the archive " + zipPath);
    } else if (!tovo_pack::BuildZip(inputs, zipOptions, &zip, &error)) {
        return Fail(error);
    }
    if (!tovo_pack::CheckArchive(zip, &error)) return Fail(error);

    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(stubBytes.data()), stubBytes.size());
    out.write(reinterpret_cast<const char*>(recordBytes.data()), recordBytes.size());
    out.write(reinterpret_cast<const char*>(zip.data()), zip.size());
    out.close();
    if (!out) return Fail("cannot write " + output);
    ::chmod(output.c_str(), 0755);
    return 0;
}
