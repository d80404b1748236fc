// qmx: the page-file tool. Writes the editor's start-up page, checks a page file
// with the editor's own reader, and dumps a page by item name for diffing.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "page.h"
#include "page_file.h"

namespace {

namespace fs = std::filesystem;
using quom::ItemKind;
using quom::PageProperty;

constexpr const char* kUsage = "usage: qmx new FILE | qmx check FILE | qmx dump FILE\n";

fs::path FolderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

int New(const fs::path& file) {
    quom::Page page;
    page.Reset();
    quom::WritePageFile(page, file);
    return 0;
}

int Check(const fs::path& file) {
    quom::Page page;
    try {
        quom::ReadPageFile(page, file, FolderOf(file));
    } catch (const quom::PageReadError& e) {
        std::printf("line %d: %s: %s\n", e.line_number(),
                    quom::DescribePageLine(quom::PageLineAt(e.line_number())).c_str(), e.what());
        return 1;
    }
    std::printf("OK\n");
    return 0;
}

// Every stored property of one item, in a fixed order, as name.key=value lines.
void DumpItem(const quom::PageItem& item) {
    const char* name = item.name.c_str();
    auto line = [name](const char* key, const std::string& value) {
        std::printf("%s.%s=%s\n", name, key, value.c_str());
    };
    if (item.kind != ItemKind::Picture) line("caption", item.caption);
    line("left", std::to_string(item.left));
    line("top", std::to_string(item.top));
    if (item.kind == ItemKind::Button) {
        line("width", std::to_string(item.width));
        line("height", std::to_string(item.height));
    }
    if (item.kind == ItemKind::Label) line("colour", std::to_string(item.colour()));
    if (item.kind != ItemKind::Picture) line("fontsize", std::to_string(item.font_size));
    line("action", item.action);
    if (item.kind == ItemKind::Picture) line("slot", item.slot_text);
}

int Dump(const fs::path& file) {
    quom::Page page;
    int status = 0;
    try {
        quom::ReadPageFile(page, file, FolderOf(file));
    } catch (const quom::PageReadError& e) {
        // Show what was read up to the failing line, as the editor would hold it.
        std::fprintf(stderr, "qmx: line %d: %s: %s\n", e.line_number(),
                     quom::DescribePageLine(quom::PageLineAt(e.line_number())).c_str(), e.what());
        status = 1;
    }
    std::printf("page.width=%d\npage.height=%d\npage.colour=%d\n", page.width, page.height,
                page.colour());
    for (const quom::PageItem& item : page.pool()) DumpItem(item);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const char* command = argv[1];
    fs::path file = argv[2];
    try {
        if (std::strcmp(command, "new") == 0) return New(file);
        if (std::strcmp(command, "check") == 0) return Check(file);
        if (std::strcmp(command, "dump") == 0) return Dump(file);
    } catch (const quom::QuomError& e) {
        std::fprintf(stderr, "qmx: %s: %s\n", file.string().c_str(), e.what());
        return 1;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
