#include "InstallationError.h"

#include <Messages.h>

void ShowInstallationError() {
    ShowPlainMessage(
        L"Erro detectado durante o processo de instalação. É provável que você precise de privilégio de "
        L"administrador para realizar essa tarefa.");
}
