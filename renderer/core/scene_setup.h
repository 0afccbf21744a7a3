// Setting a scene up on the current GL context: its textures, flight, state
// and light, and the viewport for the window's size.
#pragma once

#include "flight_scene.h"

class FlightHost;
struct FlightProjection;
struct ScenePictures;

// Loads the scene textures from the host (or `prepared` when given, see
// LoadSceneTextures), starts the flight, gives the model its textures and sets
// the GL state, light 0 and the sky quadric. 0 when neither picture loads
// (nothing else is done then) or when the quadric cannot be made.
int InitScene(FlightScene& scene, FlightHost& host, ScenePictures* prepared = nullptr);

// Viewport and 45-degree projection (near 0.1f, far 2000); height 0 counts as 1.
// Leaves the model-view matrix selected and set to the identity.
void ResizeViewport(int width, int height);

// The same for a window the camera's view does not sit centred on (a flight
// over several monitors): an off-axis frustum with square pixels, as
// FlightProjection describes it. Height 0 counts as 1.
void ResizeViewport(int width, int height, const FlightProjection& view);
