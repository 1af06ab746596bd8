// What every window of the program shares: the twip grid the layouts are
// given in, the Japanese user-interface font, the conversion of file text
// (code page 932) to the window's Unicode and back, and the few hooks that
// leave the window (message boxes, ending the program) so that they can be
// replaced where no user is there to answer.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace makenc {

// The layouts are drawn on a grid of 15 twips per screen pixel.
inline constexpr double kTwipsPerPixel = 15.0;

int twips_to_px(int twips);
QRect twips_rect(int left, int top, int width, int height);

// The font the windows were laid out with, or an installed Japanese font of
// the same kind where it is missing.
QFont japanese_font(double point_size);

// The layouts were drawn for a proportional face; where a wider face stands
// in, a caption that would be clipped gets a slightly smaller size instead
// (a word-wrapped label is fitted to its height).
void fit_caption(QWidget* control, int available_width);

QString from_cp932(const std::string& bytes);
// Characters code page 932 cannot hold become "?".
std::string to_cp932(const QString& text);

struct WindowHooks {
  using Inform = std::function<void(QWidget* parent, const QString& title, const QString& text)>;
  // A modal message with one OK button.
  Inform inform;
  // Ends the program once its work is handed back.
  std::function<void()> quit;
};

// Real message boxes, and the end of the event loop.
WindowHooks desktop_hooks();

}  // namespace makenc
