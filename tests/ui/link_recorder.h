// Records the addresses the window asks the desktop to open: installed with
// QDesktopServices::setUrlHandler(scheme, &recorder, "open").
#ifndef LLAVE_TESTS_LINK_RECORDER_H
#define LLAVE_TESTS_LINK_RECORDER_H

#include <QList>
#include <QObject>
#include <QUrl>

class LinkRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots: // NOLINT(readability-redundant-access-specifiers): Qt's slot section
    void open(const QUrl& url)
    {
        opened.append(url);
    }
};

#endif // LLAVE_TESTS_LINK_RECORDER_H
