#pragma once

class MyView;
class QWidget;

// Asks where to, then writes the current picture as PNG with the scene it shows.
void saveImage(QWidget &parent, MyView &view);
