#pragma once
// "Acerca..": the program's name and version, what it reads, its licence and the Qt it runs on.
#include <QDialog>

class AcercaDe : public QDialog {
    Q_OBJECT

  public:
    explicit AcercaDe(QWidget* padre = nullptr);
    // The text shown, for those who check it.
    QString Texto() const;

  private:
    QString texto_;
};
