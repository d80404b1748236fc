// The page being edited: its size and colour, the pool of 60 items and the 20
// picture-file slots. The editor's widgets mirror this model; it is the truth.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "colour.h"
#include "item_names.h"
#include "picture.h"

namespace quom {

inline constexpr const char* kNoAction = "NONE();";
inline constexpr int kDefaultPageWidth = 329;
inline constexpr int kDefaultPageHeight = 241;
inline constexpr int kDefaultButtonWidth = 65;
inline constexpr int kDefaultButtonHeight = 41;
inline constexpr int kDefaultFontSize = 10;  // points: 13 pixels high at 96 dots per inch

// A page is never smaller than empty: a width or height below zero, from dragging
// the page's corner above or left of its origin or read from a page file, is taken
// as zero. The model, the design surface and the page file therefore agree.
inline constexpr int PageExtent(int pixels) {
    return pixels < 0 ? 0 : pixels;
}

class Page;

// One member of the pool. Which fields mean something depends on the kind: caption
// and font size for buttons and labels, width and height for buttons, colour for
// labels, picture and slot text for pictures.
struct PageItem {
    ItemKind kind = ItemKind::Button;
    int id = 1;  // 1..20
    std::string name;
    int left = 0;
    int top = kHiddenTop;
    std::string action = kNoAction;
    std::string caption;
    int width = kDefaultButtonWidth;
    int height = kDefaultButtonHeight;
    int font_size = kDefaultFontSize;
    Picture picture;
    std::string slot_text;  // file name beside the page, or EmptySlotText(id)

    Colour colour() const { return colour_; }
    bool follows_page() const { return follows_page_; }

    // A label keeps following the page colour until it is given a different colour;
    // giving it the colour it already has changes nothing.
    void SetColour(Colour colour);

    bool HasSlotFile() const { return slot_text != EmptySlotText(id); }

  private:
    friend class Page;
    Colour colour_ = kButtonFaceColour;
    bool follows_page_ = true;
};

class ItemPool {
  public:
    ItemPool();

    PageItem& Item(ItemKind kind, int id) { return items_[Index(kind, id)]; }
    const PageItem& Item(ItemKind kind, int id) const { return items_[Index(kind, id)]; }

    // The item whose name equals name exactly (case-sensitive), or nullptr.
    PageItem* Find(std::string_view name);
    const PageItem* Find(std::string_view name) const;

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    static int Index(ItemKind kind, int id) {
        return static_cast<int>(kind) * kItemsPerKind + id - 1;
    }
    std::array<PageItem, kItemCount> items_;
};

class Page {
  public:
    Page() = default;

    int width = kDefaultPageWidth;
    int height = kDefaultPageHeight;

    Colour colour() const { return colour_; }
    // Sets the page colour; every label that still follows the page takes it too,
    // hidden ones included.
    void SetColour(Colour colour);

    ItemPool& pool() { return pool_; }
    const ItemPool& pool() const { return pool_; }
    PageItem& Item(ItemKind kind, int id) { return pool_.Item(kind, id); }
    const PageItem& Item(ItemKind kind, int id) const { return pool_.Item(kind, id); }

    // New and program start: hide every item, give pictures the placeholder, empty
    // the slots, reset actions and captions. Left edges, sizes, colours, font sizes
    // and the page's own size and colour stay.
    void Reset();

  private:
    Colour colour_ = kButtonFaceColour;
    ItemPool pool_;
};

}  // namespace quom
