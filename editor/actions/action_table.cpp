#include "action_table.h"

#include <algorithm>

namespace quom {

const ActionEntry* FindAction(std::string_view entry) {
    const auto* row = std::ranges::find(ActionTable, entry, &ActionEntry::entry);
    return row == ActionTable.end() ? nullptr : row;
}

}  // namespace quom
