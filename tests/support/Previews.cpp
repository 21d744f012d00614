// Reading printouts in tests.
#include "support/Previews.h"

#include "query_print/Report.h"
#include "query_print/mldy.h"

#include <QApplication>

namespace korv::test {

QList<TmldyForm *> openPreviews()
{
    QList<TmldyForm *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<TmldyForm *>(w); form && form->isVisible())
            found << form;
    return found;
}

QString valueAfter(const report::Page &page, const QString &label)
{
    for (int i = 0; i + 1 < page.texts.size(); ++i)
        if (page.texts[i].text == label)
            return page.texts[i + 1].text;
    return "<no label " + label + ">";
}

}  // namespace korv::test
