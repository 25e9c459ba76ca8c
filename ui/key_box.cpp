#include "key_box.h"

#include "accessibility.h"
#include "announcer.h"
#include "key_text.h"

#include <curp/explain.h>
#include <curp/person.h>

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPalette>
#include <QStringList>
#include <QStyle>
#include <QTextDocument>

#include <string>

using namespace Qt::StringLiterals;

namespace {

// Plain text as rich text: tooltips and "¿Qué es esto?" windows take text
// that looks like markup as markup, and names may hold "<" or "&".
QString asRichText(const QString& text)
{
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

} // namespace

QColor warningColour(const QColor& background)
{
    return background.lightness() < 128 ? QColor(0xff, 0x8a, 0x80) : QColor(0xb0, 0x00, 0x00);
}

KeyBox::KeyBox(QWidget* parent)
    : QLineEdit(parent)
{
    setReadOnly(true);
    // A key reads left to right, in a right-to-left desktop too.
    setLayoutDirection(Qt::LeftToRight);
    const QString hint = u"Aquí aparece la CURP al pulsar «Calcular»."_s;
    setToolTip(asRichText(hint));
    setWhatsThis(asRichText(hint));
    // Screen readers read the tooltip's markup when there is no description.
    setAccessibleDescription(hint);
}

QString KeyBox::copyBareText()
{
    return u"Copiar clave sin guiones"_s;
}

QString KeyBox::whatsThisText()
{
    return u"¿Qué es esto?"_s;
}

void KeyBox::showKey(std::u32string_view key, const curp::KeyExplanation& explanation,
                     const QStringList& warnings)
{
    shownKey = fromCodePoints(key);
    answerDoubts.clear();
    setText(leftToRight(applyKeyMask(key)));

    QStringList lines = warnings;
    for (const std::string& line : curp::Describe(explanation))
        lines << shortened(QString::fromStdString(line));
    const QString text = lines.join(u'\n');
    setToolTip(asRichText(text));
    setWhatsThis(asRichText(text));
    // Screen readers learn of the new key from the text change, and of its
    // explanation from the description change this sends.
    setAccessibleDescription(text);

    const bool notRegistry = !curp::CouldBeRegistryKey(explanation);
    isDoubtful = notRegistry || !warnings.isEmpty();
    markDoubtful(notRegistry ? notRegistryWarning() : warnings.value(0));
    Announcer::of(window())->announce(keyAnnouncement(explanation, warnings));
}

void KeyBox::showAnswer(const curp::PersonAnswer& answer, const QStringList& warnings)
{
    if (answer.Has(curp::Problem::Date)) {
        showKey({}, {}, {QString::fromStdString(answer.birth.problem)});
        answerDoubts.clear();
        return;
    }
    // The explanation tells of the names' doubts itself; the others join
    // the window's warnings.
    QStringList lines = warnings;
    QStringList doubts;
    for (const curp::KeyDoubt& doubt : answer.doubts) {
        doubts << QString::fromStdString(curp::Describe(doubt));
        if (doubt.doubt != curp::Doubt::AbbreviatedName && doubt.doubt != curp::Doubt::SignIsX)
            lines << doubts.back();
    }
    showKey(QString::fromStdString(answer.key).toStdU32String(), curp::ExplainKey(answer.trace),
            lines);
    answerDoubts = doubts;
}

void KeyBox::markDoubtful(const QString& why)
{
    settingPalette = true;
    if (isDoubtful) {
        QPalette warning = palette();
        const QColor colour = warningColour(warning.color(QPalette::Base));
        warning.setColor(QPalette::Active, QPalette::Text, colour);
        warning.setColor(QPalette::Inactive, QPalette::Text, colour);
        setPalette(warning);
    } else if (testAttribute(Qt::WA_SetPalette)) {
        // Back to the palette the window passes down.
        setPalette(QPalette());
    }
    settingPalette = false;

    if (isDoubtful && !warningSign) {
        warningSign = addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this),
                                QLineEdit::TrailingPosition);
        connect(warningSign, &QAction::triggered, this, &KeyBox::showExplanation);
    }
    if (warningSign) {
        if (!why.isEmpty())
            warningSign->setText(why);
        warningSign->setVisible(isDoubtful);
        warningSign->setToolTip(toolTip());
    }
}

void KeyBox::changeEvent(QEvent* event)
{
    // A new palette (the desktop turned dark, say) needs a new warning colour.
    if (event->type() == QEvent::PaletteChange && isDoubtful && !settingPalette)
        markDoubtful();
    QLineEdit::changeEvent(event);
}

void KeyBox::copyBareKey() const
{
    QGuiApplication::clipboard()->setText(shownKey);
}

void KeyBox::showExplanation()
{
    showWhatsThis(mapToGlobal(QPoint(0, height())), whatsThis(), accessibleDescription(), this);
}

QMenu* KeyBox::createContextMenu()
{
    QMenu* menu = createStandardContextMenu();

    auto* copyBare = new QAction(copyBareText(), menu);
    copyBare->setObjectName(u"copy-bare-key"_s);
    copyBare->setEnabled(!shownKey.isEmpty());
    connect(copyBare, &QAction::triggered, this, &KeyBox::copyBareKey);
    // Qt's "Copiar" entry is known by the keys it shows, Ctrl+C.
    const QString copyKeys =
        u'\t' + QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText);
    const QList<QAction*> entries = menu->actions();
    QAction* afterCopy = nullptr;
    for (qsizetype i = 0; i + 1 < entries.size(); ++i) {
        if (entries[i]->text().endsWith(copyKeys))
            afterCopy = entries[i + 1];
    }
    menu->insertAction(afterCopy, copyBare);

    menu->addSeparator();
    const QString shortcut =
        QKeySequence(QKeySequence::WhatsThis).toString(QKeySequence::NativeText);
    QAction* explain = menu->addAction(whatsThisText() + u'\t' + shortcut);
    explain->setObjectName(u"whats-this"_s);
    connect(explain, &QAction::triggered, this, &KeyBox::showExplanation);
    return menu;
}

void KeyBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void KeyBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::WhatsThis)) {
        showExplanation();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
