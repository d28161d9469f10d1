#pragma once

// F11 switches the plug-in's display off and on (subscribed to the host's frame processing).
void pollToggleKey();
