// Opening a web address with the desktop's default handler.
#ifndef LLAVE_MODULE1_H
#define LLAVE_MODULE1_H

#include <QString>

class QWidget;

namespace Module1 {

// Asks the desktop to open address with its default handler (the verb "open",
// shown normally), with owner's window as the owner where the platform takes
// one. A failure to open is ignored: no message, no retry.
void OpenLink(const QString& address, QWidget* owner = nullptr);

} // namespace Module1

#endif // LLAVE_MODULE1_H
