// The dialog "詳細設定" over Zemlak\Bin\option.ini: the shape of the
// lead-in, its radius, the overcut, the feeds of the three condition codes
// of set.ini, of marking and of rapid moves, and the pierce and marking
// start times. Both windows read its layout and save through it.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/forms.h"
#include "core/error.h"
#include "core/settings.h"

namespace makenc {

extern const FormSpec kShopForm;

// The text every box shows for the options ("" for an option not given),
// and the captions of the three feed boxes' labels: the condition codes.
std::vector<BoxText> shop_box_texts(const Settings& settings);
// Whether the option button "lead_arc" is chosen ("lead_line" otherwise).
bool shop_arc_chosen(const Settings& settings);

// Reads the boxes (an empty box leaves its option off), refuses a value the
// file would refuse naming its box (`refused_box`), and writes the file
// whole or not at all; then the options are in force. Feeds the file gives
// for codes the three rows no longer name are kept.
Status save_shop_options(const BoxReader& box_text, bool arc, const std::filesystem::path& folder,
                         Settings& settings, std::string* refused_box = nullptr);

}  // namespace makenc
