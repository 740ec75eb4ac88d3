// The effects library starts empty; the metaballs, the warp image and the
// scrolling planes are added to it.
