// The statement table: one row per statement name of the action language, each with
// the function that carries it out. Adding a statement is one row and one function.
#pragma once

#include <span>
#include <string_view>

#include <QString>

#include "action_runner.h"

namespace quom {

// Carries out one statement with its argument as written (decoded from the page's
// code page).
using StatementHandler = Flow (*)(ActionRunner& run, const QString& argument);

struct StatementRow {
    std::string_view name;
    StatementHandler handler;
};

std::span<const StatementRow> StatementTable();

// The row named exactly name (names are case-sensitive), or nullptr.
const StatementRow* FindStatement(std::string_view name);

}  // namespace quom
