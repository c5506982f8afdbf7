REM  The live template's Redraw, run by VELM KALIX at the end of every Run.
REM  Points each data set's chart at the readings its fit kept: rows 45 to
REM  44 + the count in row 43 of the set's block on the results sheet, so
REM  that no empty rows of a longer earlier test stretch the axes.
Option Explicit

Sub Redraw
  Dim oSheet As Object, oCharts As Object, i As Integer
  oSheet = ThisComponent.getSheets().getByIndex(2)
  oCharts = oSheet.getCharts()
  For i = 0 To oCharts.getCount() - 1
    PointAtKeptRows(oSheet, oCharts.getByIndex(i).getEmbeddedObject())
  Next i
End Sub

REM  Every data sequence of the chart ends at its set's last kept reading.
Sub PointAtKeptRows(oSheet As Object, oChart As Object)
  Dim oProvider As Object, oSystems As Variant, oTypes As Variant, oSeries As Variant
  Dim oSequences As Variant, oValues As Object, oNew As Object
  Dim sRange As String, nKeptColumn As Long, nLast As Long
  Dim a As Integer, b As Integer, c As Integer, d As Integer
  oProvider = oChart.getDataProvider()
  oSystems = oChart.getFirstDiagram().getCoordinateSystems()
  For a = 0 To UBound(oSystems)
    oTypes = oSystems(a).getChartTypes()
    For b = 0 To UBound(oTypes)
      oSeries = oTypes(b).getDataSeries()
      For c = 0 To UBound(oSeries)
        oSequences = oSeries(c).getDataSequences()
        For d = 0 To UBound(oSequences)
          oValues = oSequences(d).getValues()
          sRange = oValues.getSourceRangeRepresentation()
          REM  Block of set i: columns 7(i-1)+10 to +4; the count is in column +1.
          nKeptColumn = 7 * ((ColumnOf(sRange) - 10) \ 7) + 11
          nLast = 44 + oSheet.getCellByPosition(nKeptColumn - 1, 42).getValue()
          If nLast < 45 Then nLast = 45
          oNew = oProvider.createDataSequenceByRangeRepresentation(WithLastRow(sRange, nLast))
          oNew.Role = oValues.Role
          oSequences(d).setValues(oNew)
        Next d
      Next c
    Next b
  Next a
End Sub

REM  The column number of the cells in "$Results.$K$45:$K$700" (11 for K).
Function ColumnOf(sRange As String) As Long
  Dim i As Integer, ch As String, n As Long, start As Integer
  start = 1
  For i = 1 To Len(sRange)
    If Mid(sRange, i, 1) = "." Then start = i + 1
  Next i
  n = 0
  For i = start To Len(sRange)
    ch = UCase(Mid(sRange, i, 1))
    If ch >= "A" And ch <= "Z" Then
      n = n * 26 + Asc(ch) - 64
    ElseIf ch <> "$" Then
      Exit For
    End If
  Next i
  ColumnOf = n
End Function

REM  The range with its last row replaced: ("$Results.$K$45:$K$700", 52) gives "$Results.$K$45:$K$52".
Function WithLastRow(sRange As String, nLast As Long) As String
  Dim p As Integer
  p = Len(sRange)
  Do While p > 0
    If Mid(sRange, p, 1) < "0" Or Mid(sRange, p, 1) > "9" Then Exit Do
    p = p - 1
  Loop
  WithLastRow = Left(sRange, p) & CStr(nLast)
End Function
