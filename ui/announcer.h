// Tells screen readers news that did not come with a move of the focus: the
// key just computed and its warnings, while the person stays in the field
// they may want to correct.
#ifndef LLAVE_ANNOUNCER_H
#define LLAVE_ANNOUNCER_H

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QWidget>

namespace curp {
struct KeyExplanation;
}

// Qt 6.4 has no call that makes a screen reader speak, and Orca speaks a
// changed text or description only on the focused control; it does speak
// every notification that appears. The announcer is that notification: it
// has no size, draws nothing and takes no focus, and each announcement shows
// it anew with the text as its name.
class Announcer final : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);
    Q_DISABLE_COPY_MOVE(Announcer)

    void announce(const QString& text);

    // The announcer of `window`, made the first time it is asked for.
    static Announcer* of(QWidget* window);
};

// The key as a screen reader should read it: a character at a time, and an
// 18-character key in the groups of the display mask, "GODJ800101HDFMZN02"
// as "G O D J, 8 0 0 1 0 1, H, D F, M Z N, 0, 2".
QString spokenKey(QStringView key);

// The warning of a key the library says cannot be the registry's.
QString notRegistryWarning();

// Why a key is doubtful or missing: for a key that cannot be the registry's,
// that warning, then the window's own `warnings` on the data and the notes
// of the explanation.
QStringList keyReasons(const curp::KeyExplanation& explanation, const QStringList& warnings);

// What is said when a key is shown: the key spelled out (or that there is
// none), then, for a key that cannot be the registry's, that warning, then
// the window's own `warnings` on the data and the notes of the explanation,
// each a sentence.
QString keyAnnouncement(const curp::KeyExplanation& explanation, const QStringList& warnings);

#endif // LLAVE_ANNOUNCER_H
