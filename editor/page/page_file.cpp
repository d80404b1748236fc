#include "page_file.h"

#include <array>

#include "atomic_file.h"
#include "int_conversion.h"
#include "line_reader.h"
#include "whole_file.h"

namespace quom {

namespace {

using P = PageProperty;
using K = ItemKind;

// The file is a sequence of runs: ten lines for the ten items of one bank (IDs in
// order), or one line for a property of the page itself. The two banks are not laid
// out alike, so the order is a table rather than a rule.
struct Run {
    PageProperty property;
    ItemKind kind;
    int bank;  // 1 or 2; 0 for a single line of the page's own
};

constexpr Run kRuns[] = {
    {P::Caption, K::Button, 1},   {P::Caption, K::Label, 1},        //   1- 20
    {P::Left, K::Button, 1},      {P::Left, K::Label, 1},           //  21- 40
    {P::Top, K::Button, 1},       {P::Top, K::Label, 1},            //  41- 60
    {P::Action, K::Button, 1},    {P::Action, K::Label, 1},         //  61- 80
    {P::Left, K::Picture, 1},     {P::Top, K::Picture, 1},          //  81-100
    {P::Action, K::Picture, 1},   {P::PictureSlot, K::Picture, 1},  // 101-120
    {P::PageWidth, K::Button, 0}, {P::PageHeight, K::Button, 0},    // 121-122
    {P::Width, K::Button, 1},     {P::Height, K::Button, 1},        // 123-142
    {P::Colour, K::Label, 1},     {P::PageColour, K::Button, 0},    // 143-153
    {P::FontSize, K::Label, 1},   {P::FontSize, K::Button, 1},      // 154-173
    {P::Top, K::Button, 2},       {P::Left, K::Button, 2},          // 174-193
    {P::Action, K::Button, 2},    {P::Caption, K::Button, 2},       // 194-213
    {P::FontSize, K::Button, 2},                                    // 214-223
    {P::Top, K::Label, 2},        {P::Left, K::Label, 2},           // 224-243
    {P::Action, K::Label, 2},     {P::Caption, K::Label, 2},        // 244-263
    {P::FontSize, K::Label, 2},   {P::Colour, K::Label, 2},         // 264-283
    {P::Top, K::Picture, 2},      {P::Left, K::Picture, 2},         // 284-303
    {P::Action, K::Picture, 2},   {P::PictureSlot, K::Picture, 2},  // 304-323
    {P::Width, K::Button, 2},     {P::Height, K::Button, 2},        // 324-343
};

std::array<PageLine, kPageFileLines> BuildLayout() {
    std::array<PageLine, kPageFileLines> layout{};
    std::size_t n = 0;
    for (const Run& run : kRuns) {
        if (run.bank == 0) {
            layout[n++] = {run.property, run.kind, 0};
            continue;
        }
        for (int i = 1; i <= kBankSize; ++i)
            layout[n++] = {run.property, run.kind, (run.bank - 1) * kBankSize + i};
    }
    return layout;
}

const std::array<PageLine, kPageFileLines>& Layout() {
    static const std::array<PageLine, kPageFileLines> layout = BuildLayout();
    return layout;
}

bool IsPageProperty(PageProperty p) {
    return p == P::PageWidth || p == P::PageHeight || p == P::PageColour;
}

int& NumberField(PageItem& item, PageProperty property) {
    switch (property) {
        case P::Left:
            return item.left;
        case P::Top:
            return item.top;
        case P::Width:
            return item.width;
        case P::Height:
            return item.height;
        default:
            return item.font_size;
    }
}

}  // namespace

static_assert(sizeof(kRuns) / sizeof(kRuns[0]) == 37);

PageLine PageLineAt(int line_number) {
    return Layout().at(line_number - 1);
}

std::string_view PropertyKey(PageProperty property) {
    switch (property) {
        case P::Caption:
            return "caption";
        case P::Left:
            return "left";
        case P::Top:
            return "top";
        case P::Action:
            return "action";
        case P::PictureSlot:
            return "picture-file slot";
        case P::PageWidth:
            return "page width";
        case P::PageHeight:
            return "page height";
        case P::Width:
            return "width";
        case P::Height:
            return "height";
        case P::Colour:
            return "colour";
        case P::PageColour:
            return "page colour";
        case P::FontSize:
            return "font size";
    }
    return {};
}

std::string DescribePageLine(const PageLine& line) {
    if (IsPageProperty(line.property)) return std::string(PropertyKey(line.property));
    return ItemName(line.kind, line.id) + " " + std::string(PropertyKey(line.property));
}

std::string PageLineText(const Page& page, const PageLine& line) {
    switch (line.property) {
        case P::PageWidth:
            return std::to_string(page.width);
        case P::PageHeight:
            return std::to_string(page.height);
        case P::PageColour:
            return std::to_string(page.colour());
        default:
            break;
    }
    const PageItem& item = page.Item(line.kind, line.id);
    switch (line.property) {
        case P::Caption:
            return item.caption;
        case P::Action:
            return item.action;
        case P::PictureSlot:
            return item.slot_text;
        case P::Colour:
            return std::to_string(item.colour());
        default:
            return std::to_string(NumberField(const_cast<PageItem&>(item), line.property));
    }
}

std::string FormatPageFile(const Page& page) {
    std::string out;
    for (const PageLine& line : Layout()) {
        out += PageLineText(page, line);
        out += "\r\n";
    }
    return out;
}

void WritePageFile(const Page& page, const std::filesystem::path& target) {
    WriteFileAtomically(target, FormatPageFile(page));
}

void WritePagePictures(const Page& page, const std::filesystem::path& folder) {
    // Every name is checked before the first file is written: nothing lands
    // outside the folder, and a refused page writes no picture at all.
    for (int id = 1; id <= kItemsPerKind; ++id) {
        const PageItem& item = page.Item(ItemKind::Picture, id);
        if (item.HasSlotFile()) CheckBareFileName(item.slot_text);
    }
    for (int id = 1; id <= kItemsPerKind; ++id) {
        const PageItem& item = page.Item(ItemKind::Picture, id);
        if (item.HasSlotFile()) WritePictureFile(item.picture, folder / item.slot_text);
    }
}

void ApplyPageLine(Page& page, const PageLine& line, const std::string& text,
                   const std::filesystem::path& picture_folder) {
    switch (line.property) {
        case P::PageWidth:
            page.width = PageExtent(ConvertInteger(text));
            return;
        case P::PageHeight:
            page.height = PageExtent(ConvertInteger(text));
            return;
        case P::PageColour:
            page.SetColour(ConvertInteger(text));
            return;
        default:
            break;
    }
    PageItem& item = page.Item(line.kind, line.id);
    switch (line.property) {
        case P::Caption:
            item.caption = text;
            return;
        case P::Action:
            item.action = text;
            return;
        case P::PictureSlot:
            // The picture is loaded first: a file that fails leaves the slot as it was.
            // Only a file beside the page is ever read.
            if (text != EmptySlotText(item.id)) {
                CheckBareFileName(text);
                item.picture = LoadPictureFile(picture_folder / text, text);
            }
            item.slot_text = text;
            return;
        case P::Colour:
            item.SetColour(ConvertInteger(text));
            return;
        default:
            NumberField(item, line.property) = ConvertInteger(text);
            return;
    }
}

void ReadPageBytes(Page& page, std::string_view bytes,
                   const std::filesystem::path& picture_folder) {
    LineReader reader(bytes);
    int number = 0;
    for (const PageLine& line : Layout()) {
        ++number;
        try {
            ApplyPageLine(page, line, reader.Next(), picture_folder);
        } catch (const PageReadError&) {
            throw;
        } catch (const QuomError& e) {
            throw PageReadError(number, e.what());
        }
    }
}

void ReadPageFile(Page& page, const std::filesystem::path& file,
                  const std::filesystem::path& picture_folder) {
    ReadPageBytes(page, ReadWholeFile(file), picture_folder);
}

}  // namespace quom
