CFG POST
4.2
###General
####MachineType
Waterjet
####Unit
mm
####EXTFile
nc
####RapidFeed
10000
####DefaultAbsolute
1
####CutCompensation
1
####ReturnToHomePoint
1
####UseProfilesCut
0
####NamePostprocessor
LinuxCNC waterjet (M03/M05 jet, G04 pierce, M64/M65 P0 etch, G41/G42 D01 kerf)
####HomeX
0
####HomeY
0
####HomeZ
0
###Code
####InchStr
G20
####MetricStr
G21
####AbsoluteStr
G90
####IncrementalStr
G91
####RapidStr
G00
####LinearStr
G01
####CircCWStr
G02
####CircCCWStr
G03
####CompOffStr
 G40
####CompLeftStr
 G41
####CompRightStr
 G42
####CompDiamStr
 D01
####ClampStr
(CLAMPS X<CLAMP1-X> X<CLAMP2-X> X<CLAMP3-X>)<EOB>
####TrimLineStr
(TRIM LINE X<TRIM-LINE-X1> Y<TRIM-LINE-Y1> X<TRIM-LINE-X2> Y<TRIM-LINE-Y2>)<EOB>
####UnloadOpenWinStr
<N-CODE>M00 (UNLOAD THROUGH THE WINDOW)<EOB>
####UnloadStopPrgStr
<N-CODE>M00 (UNLOAD)<EOB>
####UnloadWinMaxSizeXStr
0
####UnloadWinMaxSizeYStr
0
####UnloadWinMinSizeXStr
0
####UnloadWinMinSizeYStr
0
###Format
####NCode
N
####NFormat

####XCode
 X
####XFormat
4.3
####YCode
 Y
####YFormat
4.3
####ZCode
 Z
####ZFormat
4.3
####ICode
 I
####IFormat
4.3
####JCode
 J
####JFormat
4.3
####RCode
 R
####RFormat
4.3
####FEEDCode
 F
####FEEDFormat
5.0
####NCodeStart
10
####NCodeInc
10
####EOBStr

####ScaleXYZ
1
####StartComment
(
####EndComment
)
###Move
####RapidStr
<N-CODE><MOTION><COMP><X-COORD><Y-COORD><EOB>
####LinearStr
<N-CODE><MOTION><COMP><D-COMP><X-COORD><Y-COORD><FEED><EOB>
####CircleStr
1
<N-CODE><MOTION><COMP><D-COMP><X-COORD-ALL><Y-COORD-ALL><ARC-X><ARC-Y><FEED><EOB>
###CutCommand
####CutOnStr
<N-CODE>M03 (JET ON <WJL>)<EOB><N-CODE>G04 P1.0 (PIERCE)<EOB>
####CutOffStr
<N-CODE>M05 (JET OFF)<EOB>
####CutT2OnStr
<N-CODE>M03 (JET ON <WJL>)<EOB><N-CODE>G04 P1.0 (PIERCE)<EOB>
####CutT2OffStr
<N-CODE>M05 (JET OFF)<EOB>
####EngraveOnStr
<N-CODE>M64 P0 (ETCH ON)<EOB>
####EngraveOffStr
<N-CODE>M65 P0 (ETCH OFF)<EOB>
####EngraveAndMarkOnStr
<N-CODE>M64 P0 (ETCH ON)<EOB>
####EngraveAndMarkOffStr
<N-CODE>M65 P0 (ETCH OFF)<EOB>
####MarkOnStr
<N-CODE>M64 P0 (ETCH ON)<EOB>
####MarkOffStr
<N-CODE>M65 P0 (ETCH OFF)<EOB>
####HeatTreatmentOnStr
<N-CODE>M03 (JET ON <WJL>)<EOB>
####HeatTreatmentOffStr
<N-CODE>M05 (JET OFF)<EOB>
###ChangePower
####CPW_Edit_B10

####CPW_Edit_L10

####CPW_Edit_B20

####CPW_Edit_L20

####CPW_Edit_100

####CPW_Edit_90

####CPW_Edit_80

####PiercingMode

####ZSensorOn

####ZSensorOff

###Circular
####CenterArcAbsolute
1
####CenterArcIncremental
1
####Output_IJ_Always
1
###StartEnd
####StartPrgStr
3
%<EOB>
(<NAME-PROGRAM> <MATERIAL> T=<THIN>)<EOB>
<N-CODE>G17 G21 G90 G40<EOB>
####EndPrgStr
1
<N-CODE>M30<EOB>
####EndFileStr
1
%<EOB>
###Profile
####ProfLead

####ProfCutStr

####ProfCutSm1

####ProfCutSm2

####ProfCutSm3

####ProfCutDist1
0
####ProfCutDist2
0
####ProfCutDist3
0
####ProfCutUnlo

####ProfMinHoleDiam
0
###EndFile
