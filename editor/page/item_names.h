// The fixed names of the item pool: kinds, IDs, banks, default left edges and the
// picture-file slots.
#pragma once

#include <string>
#include <string_view>

namespace quom {

enum class ItemKind { Button, Label, Picture };

inline constexpr int kItemsPerKind = 20;
inline constexpr int kBankSize = 10;  // IDs 1..10 are the first bank, 11..20 the second
inline constexpr int kItemCount = 3 * kItemsPerKind;
inline constexpr int kHiddenTop = -200;  // an unused item waits above the surface

inline constexpr ItemKind kAllKinds[] = {ItemKind::Button, ItemKind::Label, ItemKind::Picture};

// "Button", "Label" or "Picture".
std::string_view KindPrefix(ItemKind kind);

// ID 1..9 -> "1".."9", 10 -> "0", 11..19 -> "01".."09", 20 -> "00".
std::string IdSuffix(int id);

// Kind prefix plus ID suffix: Button1, Label0, Picture00.
std::string ItemName(ItemKind kind, int id);

// Left edge an item has when the editor starts.
int DefaultLeft(ItemKind kind, int id);

// Each picture item has a never-shown slot widget that names its file. The second
// bank's widgets are Label27..Label36 but their empty texts are "Label20".."Label29".
std::string SlotWidgetName(int picture_id);
std::string EmptySlotText(int picture_id);

}  // namespace quom
