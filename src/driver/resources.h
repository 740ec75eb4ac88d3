#pragma once

#include <vector>

#include "assets/geometry.h"
#include "assets/mesh.h"
#include "assets/texture.h"
#include "effects/warp_image.h"

// The square root of each rest vertex's distance from the origin, for the
// first object of the slime mesh (empty when it has none).
std::vector<float> SlimyRadius(const Mesh &slimy);

// The media set, loaded once before the clock starts. Members are constructed
// in declaration order, which is the loading order, and destroyed in reverse.
// A file that fails to load is handled by its own object; loading goes on.
struct Resources {
    Texture texSkyting2{"data/skyting2.jpg"};
    Texture texBlue{"data/blue.jpg"};
    Texture texRed{"data/red.jpg"};
    Texture texHahastygt{"data/hahastygt.jpg"};
    Texture texEnvmap{"data/envmap.jpg"};
    Mesh meshSpiky3{"data/spiky3.ebr"};
    Mesh meshSpiky4{"data/spiky4.ebr"};
    Mesh meshBump3{"data/bump3.ebr"};
    Mesh meshHisphere{"data/hisphere.ebr"};  // rippled in place every frame
    Mesh meshHisphereB{"data/hisphere.ebr"}; // the rest shape, never changed
    Mesh meshBump2{"data/bump2.ebr"};
    Mesh meshBump{"data/bump.ebr"};
    Mesh meshTwisty4{"data/twisty4.ebr"};
    Mesh meshSlimy{"data/slimy.ebr"};  // twisted in place every frame
    Mesh meshSlimyB{"data/slimy.ebr"}; // the rest shape, never changed
    std::vector<float> slimyRadius = SlimyRadius(meshSlimy);
    std::vector<Vec3> slimyOffset = std::vector<Vec3>(slimyRadius.size(), Vec3{0.0f, 0.0f, 0.0f});
    Texture texNewJesus{"data/new_jesus.jpg"};
    Texture texDarkramme{"data/darkramme.png"};
    Texture texBassramme{"data/bassramme.png"};
    Texture texFlammekasterramme{"data/flammekasterramme.png"};
    Texture texGridramme1{"data/gridramme1.png"};
    Texture texVanligramme{"data/vanligramme.png"};
    Texture texCode{"data/tekst-code.png"};
    Texture texMusic{"data/tekst-music.png"};
    Texture texGraphics{"data/tekst-graphics.png"};
    Texture texPennick{"data/tekst-pennick.png"};
    Texture texHolvar{"data/tekst-holvar.png"};
    Texture texTraske{"data/tekst-traske.png"};
    Texture texVelmora{"data/tekst-velmora.png"};
    Texture texDunmere{"data/tekst-dunmere.png"};
    Texture texScene{"data/tekst-scene.png"};
    Texture texFenvall{"data/tekst-fenvall.png"};
    Texture texBrakkon{"data/tekst-brakkon.png"};
    Texture texTitle1{"data/tekst-title1.png"};
    Texture texTitle2{"data/tekst-title2.png"};
    Texture texTitle3{"data/tekst-title3.png"};
    Texture texTitle4{"data/tekst-title4.png"};
    WarpImage warpGarbageQueen{"data/garbage_queen.jpg"};
};
