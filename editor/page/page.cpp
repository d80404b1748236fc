#include "page.h"

namespace quom {

void PageItem::SetColour(Colour colour) {
    if (colour == colour_) return;
    colour_ = colour;
    follows_page_ = false;
}

ItemPool::ItemPool() {
    for (ItemKind kind : kAllKinds) {
        for (int id = 1; id <= kItemsPerKind; ++id) {
            PageItem& item = Item(kind, id);
            item.kind = kind;
            item.id = id;
            item.name = ItemName(kind, id);
            item.left = DefaultLeft(kind, id);
            if (kind != ItemKind::Picture) item.caption = item.name;
            if (kind == ItemKind::Picture) {
                item.picture = PlaceholderPicture();
                item.slot_text = EmptySlotText(id);
            }
        }
    }
}

PageItem* ItemPool::Find(std::string_view name) {
    for (PageItem& item : items_)
        if (item.name == name) return &item;
    return nullptr;
}

const PageItem* ItemPool::Find(std::string_view name) const {
    return const_cast<ItemPool*>(this)->Find(name);
}

void Page::SetColour(Colour colour) {
    colour_ = colour;
    for (int id = 1; id <= kItemsPerKind; ++id) {
        PageItem& label = Item(ItemKind::Label, id);
        if (label.follows_page_) label.colour_ = colour;
    }
}

void Page::Reset() {
    for (PageItem& item : pool_) {
        item.top = kHiddenTop;
        item.action = kNoAction;
        if (item.kind == ItemKind::Picture) {
            item.picture = PlaceholderPicture();
            item.slot_text = EmptySlotText(item.id);
        } else {
            item.caption = item.name;
        }
    }
}

}  // namespace quom
