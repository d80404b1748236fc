// The folders an entry goes into, opened one below the other from the extraction
// folder, never through a link. They stay open for the next entry: entries of one folder
// usually follow each other, and a folder held open cannot be swapped for a link under
// the run, as a path checked once and used again later could.
#include <cstring>

#include "Dialog.h"
#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

// The folder part of relative[0..length) as its components, each ended by a separator,
// without empty and "." components (they name no new folder). ends[i] is where the
// i-th component's separator stands. Returns the component count, -1 when too many.
int SplitFolders(const char* relative, std::uint32_t length, char* text, std::uint32_t* ends) {
    int count = 0;
    std::uint32_t out = 0;
    for (std::uint32_t start = 0; start < length;) {
        std::uint32_t end = start;
        while (end < length && !IsPathSeparator(relative[end])) ++end;
        const std::uint32_t n = end - start;
        if (n > 0 && !(n == 1 && relative[start] == '.')) {
            if (count == kMaxFolderDepth || out + n + 1 >= kTextSize) return -1;
            std::memcpy(text + out, relative + start, n);
            out += n;
            text[out] = '\0';  // each component ends here while it is opened
            ends[count++] = out++;
        }
        start = end + 1;
    }
    return count;
}

void CloseFrom(EntryFolders* folders, int level) {
    while (folders->depth > level) os::CloseFolder(folders->open[--folders->depth]);
}

}  // namespace

FolderResult OpenEntryFolders(EntryFolders* folders, const char* relative, std::uint32_t length,
                              os::FolderHandle* folder) {
    if (folders->base == os::kNoFolder) {
        // The extraction folder itself, as the user or the package named it.
        CreateFolderChain(ExtractDir);
        folders->base = os::OpenFolder(ExtractDir);
        if (folders->base == os::kNoFolder) return FolderResult::Failed;
    }
    char text[kTextSize];
    std::uint32_t ends[kMaxFolderDepth];
    const int count = SplitFolders(relative, length, text, ends);
    if (count < 0) return FolderResult::Failed;
    // Keep the folders this entry shares with the last one, component by component.
    int kept = 0;
    while (kept < folders->depth && kept < count && folders->ends[kept] == ends[kept] &&
           std::memcmp(folders->text, text, ends[kept]) == 0) {
        ++kept;
    }
    CloseFrom(folders, kept);
    for (int level = kept; level < count; ++level) {
        const os::FolderHandle parent = level == 0 ? folders->base : folders->open[level - 1];
        const char* name = text + (level == 0 ? 0 : ends[level - 1] + 1);
        const os::FolderHandle opened = os::OpenFolderIn(parent, name, true);
        if (opened == os::kNoFolder) {
            return os::KindIn(parent, name) == os::ObjectKind::Link ? FolderResult::Link
                                                                    : FolderResult::Failed;
        }
        folders->open[level] = opened;
        folders->ends[level] = ends[level];
        std::memcpy(folders->text, text, ends[level] + 1);
        folders->depth = level + 1;
    }
    *folder = count == 0 ? folders->base : folders->open[count - 1];
    return FolderResult::Open;
}

void CloseEntryFolders(EntryFolders* folders) {
    CloseFrom(folders, 0);
    os::CloseFolder(folders->base);
    folders->base = os::kNoFolder;
}
