#include "item_names.h"

namespace quom {

std::string_view KindPrefix(ItemKind kind) {
    switch (kind) {
        case ItemKind::Button:
            return "Button";
        case ItemKind::Label:
            return "Label";
        case ItemKind::Picture:
            return "Picture";
    }
    return {};
}

std::string IdSuffix(int id) {
    if (id >= 1 && id <= 9) return std::to_string(id);
    if (id == 10) return "0";
    if (id >= 11 && id <= 19) return "0" + std::to_string(id - 10);
    return "00";
}

std::string ItemName(ItemKind kind, int id) {
    return std::string(KindPrefix(kind)) + IdSuffix(id);
}

int DefaultLeft(ItemKind kind, int id) {
    // Default left edges by ID, 1..20, as the editor's design surface lays them out.
    static constexpr int kButton[] = {320, 320, 320, 320, 320, 392, 392, 464, 464, 536,
                                      128, 128, 192, 192, 192, 192, 256, 256, 256, 256};
    static constexpr int kLabel[] = {392, 392, 392, 392, 392, 392, 432, 432, 432, 432,
                                     98,  98,  98,  98,  98,  146, 146, 146, 146, 146};
    static constexpr int kPicture[] = {480, 480, 480, 480, 480, 512, 512, 512, 512, 512,
                                       8,   8,   8,   8,   8,   40,  40,  40,  40,  40};
    const int* table = kind == ItemKind::Button  ? kButton
                       : kind == ItemKind::Label ? kLabel
                                                 : kPicture;
    return table[id - 1];
}

std::string SlotWidgetName(int picture_id) {
    return "Label" + std::to_string(picture_id <= kBankSize ? 9 + picture_id : 16 + picture_id);
}

std::string EmptySlotText(int picture_id) {
    return "Label" + std::to_string(9 + picture_id);
}

}  // namespace quom
