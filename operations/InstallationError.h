// The product's one message for any failed installation step.
#pragma once

// The payload, the earlier installation or the shortcuts: the user hears the
// same words, whichever step failed.
void ShowInstallationError();
