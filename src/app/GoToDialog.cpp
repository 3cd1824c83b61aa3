#include "GoToDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace dwell {

GoToDialog::GoToDialog(const RenderRequest &location, QWidget *parent)
    : QDialog(parent), m_viewSize(location.width, location.height), m_centerX(new QLineEdit(this)),
      m_centerY(new QLineEdit(this)), m_width(new QLineEdit(this)), m_problem(new QLabel(this))
{
    m_centerX->setObjectName("centerX");
    m_centerY->setObjectName("centerY");
    m_width->setObjectName("width");
    m_problem->setObjectName("problem");
    m_problem->hide();
    setWindowTitle(tr("Go To"));
    m_centerX->setText(QString::fromStdString(location.exactCenterX()));
    m_centerY->setText(QString::fromStdString(location.exactCenterY()));
    m_width->setText(QString::fromStdString(location.exactWidth()));
    auto *form = new QFormLayout(this);
    form->addRow(tr("Centre, real part:"), m_centerX);
    form->addRow(tr("Centre, imaginary part:"), m_centerY);
    form->addRow(tr("Width:"), m_width);
    form->addRow(m_problem);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &GoToDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GoToDialog::reject);
    form->addRow(buttons);
    m_width->setMinimumWidth(360);
}

void GoToDialog::accept()
{
    m_window = ExactWindow::around(
        m_centerX->text().trimmed().toStdString(), m_centerY->text().trimmed().toStdString(),
        m_width->text().trimmed().toStdString(), m_viewSize.width(), m_viewSize.height());
    if (!m_window) {
        m_problem->setText(tr("The centre and the width must be decimal numbers, the width "
                              "above 0."));
        m_problem->show();
        return;
    }
    QDialog::accept();
}

} // namespace dwell
