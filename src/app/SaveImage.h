#pragma once

class MyView;
class QWidget;

// Asks where to, then writes the current picture as PNG with its provenance.
void saveImage(QWidget &parent, MyView &view);
