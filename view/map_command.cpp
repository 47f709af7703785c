#include "view/kestrova_view.h"

void CKestrovaView::OnMap() {}
