#pragma once

// The editor draws its widgets without OpenGL, but on an X server Qt loads its
// OpenGL integration all the same, and with it a software renderer of some
// 44 MB. Tells Qt to leave it out, unless the user chose an integration in
// QT_XCB_GL_INTEGRATION. Call before the QApplication is made.
void skipUnusedOpenGl();
