#include "cli/clifailuretext.h"

#include "items/itemsession.h"

QString cliFailureText(const LinkFailure &failure, bool fleet)
{
    const LinkFailure told = failure.saying(translatedAnswerCheck(failure.message));
    return fleet ? told.briefText() : told.text();
}
