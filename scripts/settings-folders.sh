# Sourced by the comparison scripts: the plug-in folders both sides of a comparison run,
# WORK/shipped (the shipped data), WORK/options (the same with every option patch set
# switched on) and WORK/unanchored (the shipped data with the layout that came before
# anchors, tests/fixtures/hud-unanchored.dat, which every build must keep drawing alike).
#
#   make_settings_folders WORK ROOT      (ROOT: the checkout, which holds assets/kell-hud)
make_settings_folders() {
    mkdir "$1/shipped"
    cp -r "$2/assets/kell-hud" "$1/shipped/"
    cp -r "$1/shipped" "$1/options"
    sed -i -E 's/^(bUseKellFonts|bKellMarkers|bKellOnFootCamera|bKellVehicleCamera|bEnableBlendingMode) *=.*/\1 = 1/' \
        "$1/options/kell-hud/settings.ini"
    cp -r "$1/shipped" "$1/unanchored"
    cp "$2/tests/fixtures/hud-unanchored.dat" "$1/unanchored/kell-hud/data/hud.dat"
}
