/* Resource numbers of tvledit, shared by the resource script and the code. */
#pragma once

#define IDI_TVLEDIT 1       /* the program's icon */
#define IDR_STOCK_PICTURE 2 /* the same icon file's bytes: the picture of new and upgraded menus */
