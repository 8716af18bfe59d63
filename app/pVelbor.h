// This file implements the program's start-up: the windows and the data module created in their
// fixed order, the start-up window shown meanwhile and freed before the message loop.
#pragma once

// Everything before the message loop: the start-up window shown, the data module (connecting
// the database), the main window, the notice, the report-preparation window and the about box,
// then the main window maximised and shown and the start-up window freed. Raises what the data
// module's creation raised.
void DemarrerVelbor();
