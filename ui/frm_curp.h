// The entry window: the person's data in, the key out.
#ifndef LLAVE_FRM_CURP_H
#define LLAVE_FRM_CURP_H

#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>

class DatePicker;
class KeyBox;
class NameBox;
class QCloseEvent;
class QContextMenuEvent;
class QFrame;
class QEvent;
class QLabel;
class QPushButton;
class QTimer;
class TypeAheadList;

class frm_CURP final : public QWidget
{
    Q_OBJECT

public:
    explicit frm_CURP(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frm_CURP)

    // The window's font: Tahoma 8.25 pt, or where the system has no Tahoma,
    // a sans of about its width.
    static QFont formFont();

    // What the link label shows, and the address it opens: the registry's
    // public page, where a person can confirm the key.
    static QString webText();
    static QString webAddress();
    // The entry of the window's context menu that opens the address.
    static QString openWebText();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeControls();
    // What the person should know about the date the key carries.
    QStringList dateWarnings() const;
    // The sex list's tooltip and description: the letter the chosen entry
    // gives the key, or, `ambiguous`, that a lone "m" says neither.
    void describeSex(bool ambiguous);

    // Event handlers; Index is the member of the control array.
    void Form_Load();
    void Form_Unload();
    void CmdCalc_Click();
    void Txt_GotFocus(int Index);
    void Txt_KeyPress(int Index, QString& typed);
    void lblweb_Click();

    QLabel* Image1;
    std::array<QLabel*, 2> lblBrand{};
    QLabel* lblweb;
    std::array<QLabel*, 6> Lbl{};
    std::array<NameBox*, 3> Txt{};
    DatePicker* DtP;
    TypeAheadList* CmbSexo;
    TypeAheadList* CmbEnt;
    QFrame* Line1;
    QFrame* Line2;
    QPushButton* CmdCalc;
    KeyBox* txtCURP;
    // Runs from a lone "m" typed into "Sexo" to the pause after it.
    QTimer* ambiguousSex;
};

#endif // LLAVE_FRM_CURP_H
