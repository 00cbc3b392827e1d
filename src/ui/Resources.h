#pragma once

// Resource ids shared by corvane.rc and the code (plain defines: the resource compiler reads
// this file too).
#define IDI_CORVANE 1
#define IDB_POWER 101
#define IDR_BANNER 201
