#pragma once

// The plug-in's own folder (with its trailing backslash) followed by a relative path, in a
// buffer that the next call overwrites: use the result at once.
const char* pluginPath(const char* relative);
