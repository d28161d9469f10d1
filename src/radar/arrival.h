#pragma once

// Subscribed to the host's frame processing: when the player's vehicle comes within 20
// world units of the map target (on the ground plane), the target is removed and the
// arrival is announced in the host's language.
void CheckArrival();
