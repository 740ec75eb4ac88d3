#pragma once

struct Demo;

// One routine per time window. Each draws the whole frame and ends with
// exactly one GLWindow::Update.
void OpeningScene(Demo &demo);     //    0 -  140
void OpeningSpinScene(Demo &demo); //  140 -  210
void DoubleSpinScene(Demo &demo);  //  210 -  360

enum class TitleWord { None, Title1, Title2, Title3, Title4 };
void TitleScene(Demo &demo, TitleWord word); // 360 - 570
void TitleQuadScene(Demo &demo);             //  570 -  600

void MetaballScene(Demo &demo);      //  600 -  740
void BumpTrioScene(Demo &demo);      //  740 -  890
void RippleScene(Demo &demo);        //  890 - 1030
void GreetingsScene(Demo &demo);     // 1030 - 1310
void GreetingsQuadScene(Demo &demo); // 1310 - 1350
void SpikeScene(Demo &demo);         // 1350 - 1490
void BumpSpikeScene(Demo &demo);     // 1490 - 1630
void CreditsScene(Demo &demo);       // 1630 - 1770
void CreditsQuadScene(Demo &demo);   // 1770 - 1795
void TwinBumpScene(Demo &demo);      // 1795 - 1895
void SlimeScene(Demo &demo);         // 1895 - 2080
void ClosingScene(Demo &demo);       // 2080 - 2250
