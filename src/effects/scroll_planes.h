#pragma once

// A textured ceiling and floor 140 units apart, turning about the view axis
// with the texture streaming towards the viewer.
void DrawScrollPlanes(float t);
