#pragma once

#include <cstdint>

#include "host/host.h"

// The host's text settings by what they do. Each is the one raw call of host.h with the
// host's own numbers; the raw setters stay in the table, where the font set and the
// simulated host reach text_set_flag_r and text_set_flag_s by address.

namespace host {

// Where a line stands against the x it is printed at.
enum class Align : int32_t { Centre = 0, Left = 1, Right = 2 };

// A box in the box colour behind the text: none, around its lines, or reaching the line
// width.
enum class TextBox { None, AroundLines, ToLineWidth };

inline void text_set_align(Align align) { text_set_alignment(static_cast<int32_t>(align)); }

inline void text_set_box(TextBox box) { text_set_mode_pair(box != TextBox::None, box == TextBox::ToLineWidth); }

// Off: every character as wide as the font's cell.
inline void text_set_proportional(bool on) { text_set_flag_p(on); }

inline void text_set_justified(bool on) { text_set_flag_q(on); }

// An outline that many pixels wide in the second colour; 0 for none.
inline void text_set_outline(uint8_t pixels) { text_set_flag_r(pixels); }

} // namespace host
