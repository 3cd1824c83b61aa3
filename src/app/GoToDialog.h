#pragma once

#include "ExactWindow.h"
#include "RenderRequest.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

namespace dwell {

// Asks for a centre and a width as decimal text of any length, starting
// from the location shown, and accepts only numbers that make a window of
// the location's size.
class GoToDialog : public QDialog {
    Q_OBJECT

public:
    explicit GoToDialog(const RenderRequest &location, QWidget *parent = nullptr);

    // The window asked for, once accepted.
    const std::optional<ExactWindow> &window() const { return m_window; }

    void accept() override;

private:
    QSize m_viewSize;
    QLineEdit *m_centerX;
    QLineEdit *m_centerY;
    QLineEdit *m_width;
    QLabel *m_problem;
    std::optional<ExactWindow> m_window;
};

} // namespace dwell
