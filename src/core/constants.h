// Constants of the system, named once with their reason.
#pragma once

#include <cstdint>

namespace makenc {

// The system's π has fifteen significant digits on purpose: every angle,
// length and arc end point the host and the machine see is computed with it.
inline constexpr double kPi = 3.14159265358979;

// Entity tables have 21 columns: the record's fields and the system's own.
// Nothing fills the last four (17 to 20), so the drawing keeps columns 0 to
// 16 only and the table dump shows the rest empty.
inline constexpr int kLastColumn = 20;
inline constexpr int kLayerCount = 6;

// Columns of an entity row after start-up.
namespace col {
inline constexpr int kind = 0;
inline constexpr int x1 = 1, y1 = 2, x2 = 3, y2 = 4;
inline constexpr int cx = 5, cy = 6, radius = 7;
inline constexpr int start_angle = 8, end_angle = 9, tilt = 10;
inline constexpr int colour = 11;
inline constexpr int length = 12;
inline constexpr int contour = 13;
inline constexpr int position = 14;
inline constexpr int outline = 15;
inline constexpr int processed = 16;
}  // namespace col
inline constexpr int kLastKeptColumn = col::processed;

// Colours of the preview and the material map, in the platform's encoding
// with blue in the high byte.
inline constexpr std::int32_t kBlack = 0x000000;
inline constexpr std::int32_t kBackground = 0xE0E0E0;
inline constexpr std::int32_t kMaterialGrey = 0x808080;
inline constexpr std::int32_t kOutsideBlue = 0xFFC0C0;
inline constexpr std::int32_t kPointRed = 0x000080;      // RGB 128, 0, 0
inline constexpr std::int32_t kTraverseBlue = 0x800000;  // RGB 0, 0, 128
// The place of a contour in the cutting order: dark green digits on a white
// label.
inline constexpr std::int32_t kOrderDigits = 0x006400;  // RGB 0, 100, 0
inline constexpr std::int32_t kOrderLabel = 0xFFFFFF;
// In edit mode the selected contour is traced thick in orange; a contour
// left out of the program is traced over in a light grey.
inline constexpr std::int32_t kSelectedOrange = 0x0080FF;  // RGB 255, 128, 0
inline constexpr std::int32_t kLeftOutGrey = 0xC0C0C0;

// The preview the main window shows when first opened: a client area of
// 13545 x 6840 twips (903 x 456 pixels) leaves a picture of 898 x 408
// pixels. Batch and dump modes compute on a preview of this size.
inline constexpr int kBatchPreviewWidth = 898;
inline constexpr int kBatchPreviewHeight = 408;

}  // namespace makenc
