// The product's one message for any failed installation step.
#pragma once

// The payload, the earlier installation or the shortcuts: the user hears the
// same words, whichever step failed; the log says which and why.
inline constexpr wchar_t InstallationErrorText[] =
    L"Erro detectado durante o processo de instalação. É provável que você precise de privilégio de "
    L"administrador para realizar essa tarefa.";
