#include "key_box.h"

#include "accessibility.h"
#include "announcer.h"
#include "key_text.h"

#include <curp/explain.h>
#include <curp/person.h>
#include <curp/window_texts.h>

#include <QAction>
#include <QApplication>
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
#include <QTimer>
#include <QToolTip>

#include <string>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Plain text as rich text: tooltips and "¿Qué es esto?" windows take text
// that looks like markup as markup, and names may hold "<" or "&".
QString asRichText(const QString& text)
{
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

// The same, each line kept whole: a tooltip of rich text otherwise wraps a
// short sentence into a narrow column.
QString asUnwrappedText(const QString& text)
{
    return Qt::convertFromPlainText(text, Qt::WhiteSpacePre);
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
    // Qt hides a tooltip whenever the focus moves; the reason comes back,
    // once the move is done, while this window is the active one.
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (showingReason)
            QTimer::singleShot(0, this, &KeyBox::showReasonTip);
    });
    // Selected text goes to the X11 selection too, which a middle click
    // pastes: a key of other data leaves that empty as well.
    connect(this, &QLineEdit::selectionChanged, this, [this] {
        if (isStale && QGuiApplication::clipboard()->supportsSelection())
            QTimer::singleShot(0, this,
                               [] { QGuiApplication::clipboard()->clear(QClipboard::Selection); });
    });
}

QString KeyBox::staleText()
{
    return QString::fromUtf8(curp::kStaleKeyText.data(), qsizetype(curp::kStaleKeyText.size()));
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
    computed = true;
    isStale = false;
    markDoubtful(notRegistry ? notRegistryWarning() : warnings.value(0));
    Announcer::of(window())->announce(keyAnnouncement(explanation, warnings));
    // No key, or a doubtful one: the reason in view at once, not only on hover.
    // Only the reasons, a few lines: the whole explanation would cover the form.
    reason = asUnwrappedText(keyReasons(explanation, warnings).join(u'\n'));
    showingReason = (isDoubtful || key.empty()) && !reason.isEmpty();
    if (showingReason)
        showReasonTip();
    else
        QToolTip::hideText();
}

void KeyBox::markStale()
{
    hideReason();
    if (!computed || isStale)
        return;
    isStale = true;
    setToolTip(asUnwrappedText(staleText()));
    setWhatsThis(asRichText(staleText()));
    setAccessibleDescription(staleText());
    markDoubtful(staleText());
}

void KeyBox::hideReason()
{
    if (std::exchange(showingReason, false))
        QToolTip::hideText();
}

void KeyBox::showReasonTip()
{
    // Not over an open calendar or list, which may reach down to the box.
    if (!showingReason || !isVisible() || !window()->isActiveWindow() ||
        QApplication::activePopupWidget())
        return;
    // Shown until the data change, however long: a day is that here.
    constexpr int aDay = 24 * 60 * 60 * 1000;
    QToolTip::showText(mapToGlobal(QPoint(0, height())), reason, this, {}, aDay);
}

bool KeyBox::refusedStaleCopy()
{
    if (!isStale)
        return false;
    // The clipboard may still hold the key of the person before; pasted now,
    // it would be taken for this person's.
    QGuiApplication::clipboard()->clear();
    const QString why = QString::fromUtf8(curp::kStaleCopyRefused.data(),
                                          qsizetype(curp::kStaleCopyRefused.size()));
    QToolTip::showText(mapToGlobal(QPoint(0, height())), asUnwrappedText(why), this);
    Announcer::of(window())->announce(why + u'.');
    return true;
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
    QStringList sentences;
    for (const curp::KeyDoubt& doubt : answer.doubts) {
        sentences << QString::fromStdString(curp::Describe(doubt));
        if (doubt.doubt != curp::Doubt::AbbreviatedName && doubt.doubt != curp::Doubt::SignIsX)
            lines << sentences.back();
    }
    showKey(QString::fromStdString(answer.key).toStdU32String(), curp::ExplainKey(answer.trace),
            lines);
    answerDoubts = sentences;
}

void KeyBox::markDoubtful(const QString& why)
{
    settingPalette = true;
    if (isDoubtful || isStale) {
        QPalette warning = palette();
        // Grey for a key of other data; the warning colour for a doubtful one.
        const QColor colour = isStale ? QPalette().color(QPalette::Disabled, QPalette::Text)
                                      : warningColour(warning.color(QPalette::Base));
        warning.setColor(QPalette::Active, QPalette::Text, colour);
        warning.setColor(QPalette::Inactive, QPalette::Text, colour);
        setPalette(warning);
    } else if (testAttribute(Qt::WA_SetPalette)) {
        // Back to the palette the window passes down.
        setPalette(QPalette());
    }
    settingPalette = false;

    const bool sign = isDoubtful || isStale;
    if (sign && !warningSign) {
        warningSign = addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this),
                                QLineEdit::TrailingPosition);
        connect(warningSign, &QAction::triggered, this, &KeyBox::showExplanation);
    }
    if (warningSign) {
        if (!why.isEmpty())
            warningSign->setText(why);
        warningSign->setVisible(sign);
        warningSign->setToolTip(toolTip());
    }
}

void KeyBox::changeEvent(QEvent* event)
{
    // A new palette (the desktop turned dark, say) needs a new warning colour.
    if (event->type() == QEvent::PaletteChange && (isDoubtful || isStale) && !settingPalette)
        markDoubtful();
    QLineEdit::changeEvent(event);
}

void KeyBox::copyBareKey()
{
    if (!refusedStaleCopy())
        QGuiApplication::clipboard()->setText(shownKey);
}

void KeyBox::copySelected()
{
    if (!refusedStaleCopy())
        copy();
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
        if (entries[i]->text().endsWith(copyKeys)) {
            afterCopy = entries[i + 1];
            // Qt's entry copies through this box, which refuses a stale key.
            disconnect(entries[i], &QAction::triggered, nullptr, nullptr);
            connect(entries[i], &QAction::triggered, this, &KeyBox::copySelected);
        }
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
    if (event->matches(QKeySequence::Copy)) {
        copySelected();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
