#pragma once
// What the format tree's commands "(&S)保存" and "加载" do with the string pool: the pool dialog
// around saving the current format string into the pool, or loading a pooled string into it.
#include <cstdint>
#include <functional>

#include "library/frt_key.h"

class CDocFormat;
class CStringPool;
class CStringPoolDialog;
class QWidget;

// The key a string of this ID has (direction, section, block type and number from the ID).
CFrtKey KeyOfStringId(std::int32_t id);

// Runs a pool dialog modally (tests and screenshots drive it here); QDialog::Accepted or not.
using CPoolDialogRunner = std::function<int(CStringPoolDialog&)>;

// Saves the string of this ID into the pool under the name the user gives: message 1110 for a
// string without text; on "OK" the entry is added (replacing one of that name) and the pool
// written. True when the pool got the string.
bool SaveStringToPool(CDocFormat& format, CStringPool& pool, std::int32_t id,
                      QWidget* parent = nullptr, const CPoolDialogRunner& run = {});

// Replaces the text and variables of the string of this ID by those of the pooled string the
// user picks; its applications stay. Asks 1150 before replacing a string with text; message
// 1149 when the entry comes from another template and names a variable the catalogue does not
// know. True when the string was replaced.
bool LoadStringFromPool(CDocFormat& format, CStringPool& pool, std::int32_t id,
                        QWidget* parent = nullptr, const CPoolDialogRunner& run = {});
