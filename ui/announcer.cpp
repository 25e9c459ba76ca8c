#include "announcer.h"

#include "key_text.h"

#include <curp/check.h>
#include <curp/explain.h>
#include <curp/window_texts.h>

#include <QStringList>

using namespace Qt::StringLiterals;

Announcer::Announcer(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(u"announcer"_s);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    // Shown by the first announcement only: a notification present from the
    // start would be read as news when the window opens.
    hide();
}

void Announcer::announce(const QString& text)
{
    // Screen readers speak a notification as it appears, so it disappears
    // first; the same text twice is spoken twice.
    hide();
    setAccessibleName(text);
    show();
}

Announcer* Announcer::of(QWidget* window)
{
    if (auto* announcer = window->findChild<Announcer*>(QString(), Qt::FindDirectChildrenOnly))
        return announcer;
    return new Announcer(window);
}

QString spokenKey(QStringView key)
{
    const std::u32string points = toCodePoints(key);
    // Only a key that fills the mask is read in its groups, where the mask
    // puts its dashes: "G O D J, 8 0 0 1 0 1, H, ...".
    const bool grouped = points.size() == curp::kKeyLength;
    const std::u32string shown = grouped ? curp::WithDashes(points) : points;
    QString spoken;
    for (const char32_t c : shown) {
        if (grouped && c == U'-') {
            spoken += u',';
            continue;
        }
        if (!spoken.isEmpty())
            spoken += u' ';
        spoken += fromCodePoints(std::u32string_view(&c, 1));
    }
    return spoken;
}

QString notRegistryWarning()
{
    return QString::fromUtf8(curp::kNotRegistryKeyText.data(),
                             qsizetype(curp::kNotRegistryKeyText.size()));
}

QStringList keyReasons(const curp::KeyExplanation& explanation, const QStringList& warnings)
{
    QStringList sentences;
    if (!explanation.key.empty() && !curp::CouldBeRegistryKey(explanation))
        sentences << notRegistryWarning();
    for (const QString& warning : warnings)
        sentences << warning.left(1).toUpper() + warning.mid(1);
    for (const curp::KeyNote& note : explanation.notes) {
        // Said of every key, and shown with its explanation.
        if (note.kind != curp::NoteKind::RegistryAssigns)
            sentences << shortened(QString::fromStdString(curp::Describe(note)));
    }
    return sentences;
}

QString keyAnnouncement(const curp::KeyExplanation& explanation, const QStringList& warnings)
{
    const QString key = QString::fromStdString(explanation.key);
    QStringList sentences{key.isEmpty() ? u"Sin CURP"_s : u"CURP: "_s + spokenKey(key)};
    sentences << keyReasons(explanation, warnings);
    for (QString& sentence : sentences) {
        if (!sentence.endsWith(u'.') && !sentence.endsWith(u'?'))
            sentence += u'.';
    }
    return sentences.join(u' ');
}
