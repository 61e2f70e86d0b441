#pragma once

// Registers the compiled-in images; the widgets live in a static library, so
// the resource has to be pulled in explicitly. Safe to call repeatedly.
void vexaInitResources();
