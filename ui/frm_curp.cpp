#include "frm_curp.h"

#include "announcer.h"
#include "date_picker.h"
#include "key_box.h"
#include "key_text.h"
#include "link_label.h"
#include "module1.h"
#include "name_box.h"
#include "state_catalogue.h"
#include "type_ahead_list.h"

#include <curp/person.h>
#include <curp/sex.h>
#include <curp/window_texts.h>

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <string>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// 15 twips make one pixel at 96 dots per inch; Qt scales pixels on screens
// with more dots.
constexpr int twipsPerPixel = 15;

void place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(left / twipsPerPixel, top / twipsPerPixel, width / twipsPerPixel,
                         height / twipsPerPixel);
}

// Labels size themselves to their text: a label whose text needs more room
// than its place (another font than the one the form was drawn with, a larger
// scale) grows to the right and down, never clipping its text.
void fitToText(QLabel* label)
{
    const QSize needed = label->sizeHint();
    label->resize(std::max(label->width(), needed.width()),
                  std::max(label->height(), needed.height()));
}

// The first of the wanted families that is installed, or none (the desktop's
// sans then). Asking Qt for a family that is missing costs a fontconfig
// look-up for every font made from it, noticeable at start-up.
QFont sansFont(std::initializer_list<QString> wanted, qreal pointSize,
               QFont::Weight weight = QFont::Normal)
{
    static const QStringList installed = QFontDatabase::families();
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    for (const QString& family : wanted) {
        if (installed.contains(family)) {
            font.setFamilies({family});
            break;
        }
    }
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    return font;
}

// Arial; where the system has no Arial, its metric twin.
QFont arialFont(qreal pointSize, QFont::Weight weight)
{
    return sansFont({u"Arial"_s, u"Liberation Sans"_s}, pointSize, weight);
}

QLabel* makeLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// One of the logo's PNG renders, built into the program. Read as PNG straight
// away: left to guess, Qt would first load every image plugin it has to ask
// whether it reads the file, which costs a noticeable part of start-up.
QPixmap logoPixmap(int size)
{
    QImageReader reader(u":/icons/llave-%1.png"_s.arg(size), "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon logoIcon(std::initializer_list<int> sizes)
{
    QIcon icon;
    for (const int size : sizes)
        icon.addPixmap(logoPixmap(size));
    return icon;
}

// The date the date box starts with, shown as curp::kInitialDateText.
const QDate initialDate(1980, 1, 1);

bool isPlainEnter(const QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return enter && (event->modifiers() == Qt::NoModifier ||
                     (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter));
}

} // namespace

frm_CURP::frm_CURP(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(u"Generación de CURP"_s);
    setFont(formFont());

    setWindowIcon(logoIcon({16, 32}));

    // Header block: logo, brand, tagline and link. Each control gets the
    // name tests and accessibility tools find it by where it is made.
    Image1 = new QLabel(this);
    Image1->setObjectName(u"Image1"_s);
    const qreal ratio = devicePixelRatio();
    QPixmap logo = logoPixmap(ratio > 1.5 ? 64 : ratio > 1 ? 48 : 32);
    logo.setDevicePixelRatio(logo.width() / 32.0);
    Image1->setPixmap(logo);
    Image1->setAccessibleName(u"Logotipo de Llave"_s);

    lblBrand[0] = makeLabel(u"Llave"_s, this);
    lblBrand[0]->setFont(arialFont(12, QFont::Bold));
    lblBrand[1] = makeLabel(u"Clave Única de Registro de Población"_s, this);
    for (std::size_t i = 0; i < lblBrand.size(); ++i)
        lblBrand[i]->setObjectName(u"lblBrand(%1)"_s.arg(i));

    // The link, navy blue (or readable on a dark window) and underlined: a
    // click on its text opens the address. No context menu of its own and no
    // stop on the way through the form with Tab: the window's context menu
    // opens it from the keyboard.
    lblweb = new LinkLabel(webText(), webAddress(), this);
    lblweb->setObjectName(u"lblweb"_s);
    QFont linkFont = font();
    linkFont.setUnderline(true);
    lblweb->setFont(linkFont);
    lblweb->setContextMenuPolicy(Qt::NoContextMenu);
    lblweb->setToolTip(webAddress());
    connect(lblweb, &QLabel::linkActivated, this, &frm_CURP::lblweb_Click);

    // The person's data, each input with its label. Screen readers name each
    // input by its caption in words, not by the abbreviation on screen.
    const std::array<QString, 6> captions{u"A. Paterno"_s, u"A. Materno"_s, u"Nombre(s)"_s,
                                          u"Fecha Nac."_s, u"Sexo"_s,       u"Entidad"_s};
    const std::array<QString, 6> spokenCaptions{u"Apellido paterno"_s,
                                                u"Apellido materno"_s,
                                                u"Nombre(s)"_s,
                                                u"Fecha de nacimiento"_s,
                                                u"Sexo"_s,
                                                u"Entidad de nacimiento"_s};
    for (std::size_t i = 0; i < Lbl.size(); ++i) {
        Lbl[i] = makeLabel(captions[i], this);
        Lbl[i]->setObjectName(u"Lbl(%1)"_s.arg(i));
        // Screen readers call an input by its label.
        Lbl[i]->setAccessibleName(spokenCaptions[i]);
    }

    for (std::size_t i = 0; i < Txt.size(); ++i) {
        const int Index = int(i);
        Txt[i] = new NameBox(this);
        Txt[i]->setObjectName(u"Txt(%1)"_s.arg(i));
        connect(Txt[i], &NameBox::gotFocus, this, [this, Index] { Txt_GotFocus(Index); });
        Txt[i]->setKeyPress([this, Index](QString& typed) { Txt_KeyPress(Index, typed); });
        Txt[i]->setAccessibleName(spokenCaptions[i]);
        Lbl[i]->setBuddy(Txt[i]);
    }

    DtP = new DatePicker(this);
    DtP->setObjectName(u"DtP"_s);
    DtP->setFont(arialFont(8.25, QFont::Normal));
    DtP->setDate(initialDate);
    DtP->setAccessibleName(spokenCaptions[3]);
    Lbl[3]->setBuddy(DtP);

    CmbSexo = new TypeAheadList(this);
    CmbSexo->setObjectName(u"CmbSexo"_s);
    // Each entry carries its sex letter.
    CmbSexo->addItem(u"0:Masculino"_s, u"H"_s);
    CmbSexo->addItem(u"1:Femenino"_s, u"M"_s);
    // Found by the words people use ("mujer", "h"), or by the entry's digit.
    // A lone "m" picks nothing: it starts masculino, and is mujer's letter.
    CmbSexo->setSearch([this](const QString& typed) {
        // Said once the person pauses on it: "mujer" starts with "m" too.
        if (curp::SexLetterInDoubt(typed.toStdString())) {
            ambiguousSex->start();
            return -1;
        }
        ambiguousSex->stop();
        describeSex(false);
        const char letter = curp::SearchSex(typed.toStdString());
        const int byLetter = letter != '\0' ? CmbSexo->findData(QString(QLatin1Char(letter))) : -1;
        return byLetter >= 0 ? byLetter
                             : TypeAheadList::searchEntries(
                                   {CmbSexo->itemText(0), CmbSexo->itemText(1)}, typed);
    });
    ambiguousSex = new QTimer(this);
    ambiguousSex->setSingleShot(true);
    ambiguousSex->setInterval(QApplication::keyboardInputInterval());
    connect(ambiguousSex, &QTimer::timeout, this, [this] { describeSex(true); });
    CmbSexo->setAccessibleName(spokenCaptions[4]);
    connect(CmbSexo, &QComboBox::currentIndexChanged, this, [this] { describeSex(false); });
    Lbl[4]->setBuddy(CmbSexo);

    CmbEnt = new TypeAheadList(this);
    CmbEnt->setObjectName(u"CmbEnt"_s);
    // Each entry carries its state's code.
    addStates(CmbEnt);
    CmbEnt->setSearch(&searchStates);
    CmbEnt->setCurrentIndex(-1);
    CmbEnt->setAccessibleName(spokenCaptions[5]);
    Lbl[5]->setBuddy(CmbEnt);

    // An etched separator above the button row: a shadow line over a light one.
    Line1 = new QFrame(this);
    Line1->setObjectName(u"Line1"_s);
    Line2 = new QFrame(this);
    Line2->setObjectName(u"Line2"_s);
    for (auto [line, role] :
         {std::pair{Line1, QPalette::Dark}, std::pair{Line2, QPalette::Light}}) {
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        line->setForegroundRole(role);
    }

    CmdCalc = new QPushButton(u"Calcular"_s, this);
    CmdCalc->setObjectName(u"CmdCalc"_s);
    CmdCalc->setDefault(true);
    connect(CmdCalc, &QPushButton::clicked, this, &frm_CURP::CmdCalc_Click);

    txtCURP = new KeyBox(this);
    txtCURP->setObjectName(u"txtCURP"_s);
    txtCURP->setAccessibleName(u"CURP"_s);

    // Any change of the data after a computation leaves the key shown as
    // belonging to other data, until "Calcular" is pressed again. The date box
    // tells of the person's changes only, not of its fixing up what it holds.
    const auto stale = [this] { txtCURP->markStale(); };
    for (NameBox* box : Txt)
        connect(box, &QLineEdit::textChanged, this, stale);
    connect(DtP, &DatePicker::edited, this, stale);
    for (TypeAheadList* list : {CmbSexo, CmbEnt}) {
        connect(list, &QComboBox::currentIndexChanged, this, stale);
        // Orca 43 says nothing of a new entry in a Qt list, typed or picked
        // with the arrows: Qt's news of it reaches Orca as a name that did not
        // change, a selection it cannot read and a text it does not speak. The
        // entry chosen is announced.
        connect(list, &QComboBox::currentIndexChanged, this, [this, list] {
            if (list->hasFocus() && list->currentIndex() >= 0)
                Announcer::of(this)->announce(list->accessibleDescription().isEmpty()
                                                  ? list->currentText()
                                                  : list->accessibleDescription());
        });
    }

    placeControls();

    setTabOrder(Txt[0], Txt[1]);
    setTabOrder(Txt[1], Txt[2]);
    setTabOrder(Txt[2], DtP);
    setTabOrder(DtP, CmbSexo);
    setTabOrder(CmbSexo, CmbEnt);
    setTabOrder(CmbEnt, CmdCalc);
    setTabOrder(CmdCalc, txtCURP);
    Txt[0]->setFocus();

    // Enter in any control presses "Calcular", whatever the control would do
    // with it under the desktop's theme (under GTK's, a list would open).
    installEventFilter(this);
    for (QWidget* control : std::initializer_list<QWidget*>{Txt[0], Txt[1], Txt[2], DtP, CmbSexo,
                                                            CmbEnt, CmdCalc, txtCURP})
        control->installEventFilter(this);

    Form_Load();
}

void frm_CURP::placeControls()
{
    // The form as it was drawn, in twips: its client area, then each control.
    setFixedSize(5205 / twipsPerPixel, 4470 / twipsPerPixel);
    // clang-format off
    //                           Left   Top  Width Height
    place(Image1,                 120,  120,   480,   480);
    place(lblBrand[0],            720,  120,  1065,   285);
    place(lblBrand[1],            720,  360,  3585,   195);
    place(lblweb,                 720,  540,  1320,   195);
    place(Lbl[0],                 240, 1080,   780,   195);
    place(Lbl[1],                 240, 1440,   810,   195);
    place(Lbl[2],                 240, 1800,   750,   195);
    place(Lbl[3],                 240, 2280,   810,   195);
    place(Lbl[4],                 240, 2640,   360,   195);
    place(Lbl[5],                 240, 3000,   540,   195);
    place(Txt[0],                1200, 1080,  3735,   315);
    place(Txt[1],                1200, 1440,  3735,   315);
    place(Txt[2],                1200, 1800,  3735,   315);
    place(DtP,                   1200, 2280,  1335,   315);
    place(CmbSexo,               1200, 2640,  1815,   315);
    place(CmbEnt,                1200, 3000,  3615,   315);
    place(Line1,                  120, 3600,  4920,    15); // from (120, 3600) to (5040, 3600)
    place(Line2,                  120, 3615,  4920,    15); // from (120, 3615) to (5040, 3615)
    place(CmdCalc,                120, 3840,   975,   375);
    place(txtCURP,               1200, 3840,  3855,   315);
    // clang-format on

    for (QLabel* label : {lblBrand[0], lblBrand[1], lblweb})
        fitToText(label);
    for (QLabel* label : Lbl)
        fitToText(label);

    // Opens centred on the screen.
    if (const QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
}

QFont frm_CURP::formFont()
{
    return sansFont({u"Tahoma"_s, u"Liberation Sans"_s, u"Arial"_s}, 8.25);
}

QString frm_CURP::webText()
{
    return u"www.gob.mx/curp"_s;
}

QString frm_CURP::webAddress()
{
    return u"https://www.gob.mx/curp/"_s;
}

void frm_CURP::Form_Load()
{
    CmbSexo->setCurrentIndex(0);
    describeSex(false);
}

void frm_CURP::describeSex(bool ambiguous)
{
    // The letter the key takes for the entry, said wherever the list is:
    // "Masculino (H en la clave)".
    const QString entry = CmbSexo->currentText().section(u':', 1);
    const QString letter = CmbSexo->currentData().toString();
    const QString text = ambiguous         ? QString::fromUtf8(curp::kAmbiguousSexText.data(),
                                                               qsizetype(curp::kAmbiguousSexText.size()))
                         : entry.isEmpty() ? QString()
                                           : QString::fromStdString(curp::SexEntryDescription(
                                                 entry.toStdString(), letter.toStdString()));
    if (CmbSexo->accessibleDescription() != text) {
        CmbSexo->setToolTip(text);
        CmbSexo->setAccessibleDescription(text);
    }
    if (ambiguous) {
        QToolTip::showText(CmbSexo->mapToGlobal(QPoint(0, CmbSexo->height())), text, CmbSexo);
        Announcer::of(this)->announce(text);
    }
}

void frm_CURP::Form_Unload()
{
    // Nothing to keep: the window owns every control, and the program ends
    // when its only window closes.
}

void frm_CURP::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frm_CURP::CmdCalc_Click()
{
    // The date as the box shows it once what was typed is taken; no key from
    // any other date than the one typed.
    DtP->acceptTypedText();
    // The texts as the boxes and lists hold them, to the library's one door:
    // it reads the names in upper case, without accents or invisible
    // characters, as the registry writes them. "M" with no sex chosen.
    const std::string Ap = Txt[0]->text().toStdString();
    const std::string Am = Txt[1]->text().toStdString();
    const std::string Nm = Txt[2]->text().toStdString();
    const std::string FB = DtP->textToRead().toStdString();
    const std::string CveSexo =
        CmbSexo->currentIndex() < 0 ? "M" : CmbSexo->currentData().toString().toStdString();
    const std::string CveEnt = CmbEnt->currentData().toString().toStdString();
    const curp::RequestRules rules{.today = toYearMonthDay(DtP->todaysDate()),
                                   .order = DtP->textOrder(),
                                   .stateRequired = false,
                                   .wholeKeyOnly = false};
    txtCURP->showAnswer(curp::AnswerRequest({Ap, Am, Nm, FB, CveSexo, CveEnt}, rules),
                        dateWarnings());
}

QStringList frm_CURP::dateWarnings() const
{
    QStringList warnings;
    if (!DtP->changedByUser() && DtP->date() == initialDate)
        warnings << QString::fromStdString(curp::UntouchedDateWarning());
    return warnings;
}

void frm_CURP::Txt_GotFocus(int Index)
{
    // All of the text, however long, so that typing replaces all of it.
    Txt[std::size_t(Index)]->selectAll();
}

void frm_CURP::Txt_KeyPress([[maybe_unused]] int Index, QString& typed)
{
    // The box takes the upper-case form of what was typed or composed.
    typed = upperCase(typed);
}

void frm_CURP::lblweb_Click()
{
    Module1::OpenLink(webAddress(), this);
}

QString frm_CURP::openWebText()
{
    return u"Abrir %1"_s.arg(webText());
}

void frm_CURP::contextMenuEvent(QContextMenuEvent* event)
{
    // The way to the link from the keyboard: the menu key wherever the
    // focused control has no menu of its own (the button, the lists).
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* open = menu->addAction(openWebText());
    open->setObjectName(u"open-web"_s);
    connect(open, &QAction::triggered, this, &frm_CURP::lblweb_Click);
    menu->popup(event->globalPos());
}

bool frm_CURP::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isPlainEnter(static_cast<QKeyEvent*>(event))) {
        CmdCalc->click();
        return true;
    }
    // Escape puts away the reason shown for the key.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel) && txtCURP->reasonInView()) {
        txtCURP->hideReason();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
