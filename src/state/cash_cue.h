#pragma once

// The cash key, or the pad control that opens the cash window: it opens the window and
// zooms the radar out. While the radio display shows, the pad's control is the radio's,
// so only the key is left; without a pad, likewise.
bool cashCued(const void* pad, bool radioShown);
