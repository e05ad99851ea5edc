// The page's own words in the command's language: Korean, the default, or English, as the
// mLanguage setting says; the view serves the page with it, and the language button switches
// the command and the page together. Every button, title and note goes through TF.t with its
// English text, which KOREAN below turns into Korean; {named} values are filled in after. The
// page's fixed texts (index.html) are turned once it has loaded. What the command and the tool
// say (prompts, `selected ...` lines, refusals) comes from them and is shown as it is.
'use strict';
window.TF = window.TF || {};
(() => {
  const KOREAN = {
    // The tool bar.
    'Fit': '전체',
    'Fit the drawing to the window': '도면 전체를 창에 맞춥니다',
    'Hand': '손',
    'Hand tool: the left button pans': '손 도구: 왼쪽 버튼으로 화면을 옮깁니다',
    'Layers': '레이어',
    "Show the drawing's layers, and switch them on and off": '도면의 레이어를 보고 켜고 끕니다',
    'Zoom': '확대',
    'Zoom to the twins the last search found': '마지막 검색에서 찾은 동일 부품으로 확대합니다',
    'Survey': '조사',
    'List the families of twins in the drawing; pick one to have the command find it':
      '도면의 동일 부품 묶음을 나열합니다. 하나를 고르면 명령이 그것을 찾습니다',
    'Undo': '실행 취소',
    'Redo': '다시 실행',
    'Undo the last result action (Ctrl+Z)': '마지막 결과 작업을 취소합니다 (Ctrl+Z)',
    'Redo it (Ctrl+Y, Ctrl+Shift+Z)': '다시 실행합니다 (Ctrl+Y, Ctrl+Shift+Z)',
    'Undo the last result action (Ctrl+Z): {n} to undo{waits}': '마지막 결과 작업을 취소합니다 (Ctrl+Z): 취소할 작업 {n}개{waits}',
    'Redo it (Ctrl+Y, Ctrl+Shift+Z): {n} to redo{waits}': '다시 실행합니다 (Ctrl+Y, Ctrl+Shift+Z): 다시 실행할 작업 {n}개{waits}',
    ' (waits until the command asks for a range, a part or typed input)': ' (명령이 범위, 부품 또는 입력을 물을 때까지 기다립니다)',
    'Start': '시작',
    'Start the command again': '명령을 다시 시작합니다',
    'Save': '저장',
    'Save the drawing as DXF': '도면을 DXF로 저장합니다',
    'Save the drawing as {name}': '도면을 {name}(으)로 저장합니다',
    'Save the drawing as DXF (asks for a name)': '도면을 DXF로 저장합니다 (이름을 묻습니다)',
    'Report': '보고서',
    'Download the report of the searches so far (JSON)': '지금까지의 검색 보고서를 내려받습니다 (JSON)',
    'Settings': '설정',
    "The settings beyond the command's dialog: tolerance, range limit, drawing scale, language":
      '명령 대화상자 밖의 설정: 허용오차, 범위 한도, 도면 축척, 언어',
    "Apply: for this session. Keep: in your settings too. The command's own settings are in its dialog (the end button at the first prompt).":
      '적용: 이번 세션에만. 저장: 사용자 설정에도. 명령 자체의 설정은 대화상자에 있습니다 (첫 프롬프트에서 종료버튼).',
    'Apply': '적용',
    'Keep': '저장',
    'Apply it to this session': '이번 세션에 적용합니다',
    'Apply it and keep it in your settings': '적용하고 사용자 설정에 저장합니다',
    ' (this session only)': ' (이번 세션에만)',
    'Use {name} {value}': '{name} {value} 사용',
    'and keep it': '저장까지',
    'Apply {name} {value} to this session': '{name} {value}을(를) 이번 세션에 적용합니다',
    'Apply {name} {value} and keep it in your settings': '{name} {value}을(를) 적용하고 사용자 설정에 저장합니다',
    '(Setting: {name} {value})': '(설정: {name} {value})',
    '(Setting: {name} {value}, kept)': '(설정: {name} {value}, 저장)',
    'Save as': '다른 이름으로 저장',
    'Save the drawing under a new name': '도면을 새 이름으로 저장합니다',
    'Saved {name}': '{name}에 저장했습니다',
    'Quit': '끝내기',
    'Stop the view': '뷰를 멈춥니다',
    'Loading the drawing…': '도면을 읽는 중…',
    // The command line.
    'Typed input': '입력',
    'End': '종료버튼',
    'The end button (Escape)': '종료버튼 (Escape)',
    'drag a window': '창을 끌어 지정',
    'click a point': '점을 클릭',
    ' (balloons snap)': ' (풍선에 맞춤)',
    'type and press Enter': '입력 후 Enter',
    'End or Escape: the end button': 'End 또는 Escape: 종료버튼',
    'The command has ended: Start runs it again.': '명령이 끝났습니다. 시작을 누르면 다시 실행합니다.',
    '(Undo)': '(실행 취소)',
    '(Redo)': '(다시 실행)',
    '(End)': '(종료버튼)',
    '(Survey: family {n})': '(조사: 묶음 {n})',
    '(Layer {n}: on)': '(레이어 {n}: 켬)',
    '(Layer {n}: off)': '(레이어 {n}: 끔)',
    'changes not saved': '저장하지 않은 변경이 있습니다',
    'no unsaved changes': '저장하지 않은 변경 없음',
    ' · Save writes {name}': ' · 저장하면 {name}에 씁니다',
    // Questions and notes.
    'OK': '확인',
    'Cancel': '취소',
    'Close (Cancel)': '닫기 (취소)',
    'Save the drawing as (a .dxf file, relative to the folder twinfind view runs in):':
      '저장할 이름 (.dxf 파일, twinfind view를 실행한 폴더 기준):',
    '{name} exists. Replace it?': '{name} 파일이 이미 있습니다. 바꿀까요?',
    'The drawing has changes that no Save has written. Quit anyway?': '저장하지 않은 변경이 있습니다. 그래도 끝낼까요?',
    'The view has stopped. You can close this page.': '뷰가 멈췄습니다. 이 페이지를 닫아도 됩니다.',
    'The view has stopped (the tool is no longer running). You can close this page.':
      '뷰가 멈췄습니다 (도구가 더 이상 실행되지 않습니다). 이 페이지를 닫아도 됩니다.',
    'The survey could not run now.': '지금은 조사할 수 없습니다.',
    // The lists over the drawing.
    'Fold the list away': '목록 접기',
    'Show the list': '목록 펴기',
    'Close the list': '목록 닫기',
    'Found': '찾은 부품',
    'Found: 1 twin': '찾은 부품: 1개',
    'Found: {n} twins': '찾은 부품: {n}개',
    ' (undone)': ' (취소됨)',
    'place': '위치',
    'turn': '회전',
    'mirrored': '대칭',
    'yes': '예',
    ' (part)': ' (부품)',
    'Twin {i}: centre {x} {y}, turned {a}°': '동일 부품 {i}: 중심 {x} {y}, 회전 {a}°',
    ', mirrored': ', 대칭',
    '. Click to zoom to it.': '. 클릭하면 확대합니다.',
    'Survey: 1 family': '조사: 1묶음',
    'Survey: {n} families': '조사: {n}묶음',
    'parts': '부품',
    'figures': '도형',
    'box': '크기',
    'hidden layers': '숨은 레이어',
    'Survey the layers that are off too, as survey --hidden-layers does': '꺼진 레이어도 조사합니다 (survey --hidden-layers 처럼)',
    'Among {c} candidate parts of {s} segments': '세그먼트 {s}개의 후보 부품 {c}개 중에서',
    ' (hidden layers included)': ' (숨은 레이어 포함)',
    ', in {t} s. ': ', {t}초. ',
    'Point at a row to see its members; click it to have the command find them.': '행을 가리키면 그 부품들이 보이고, 클릭하면 명령이 그것들을 찾습니다.',
    'No repeated parts: no part of this drawing occurs twice under the current settings.':
      '반복되는 부품이 없습니다: 지금 설정으로는 이 도면에 두 번 나오는 부품이 없습니다.',
    'Family {i}: {n} parts, {m} mirrored; {f} figures in {s} segments; one at {x1} {y1} to {x2} {y2}':
      '묶음 {i}: 부품 {n}개, 대칭 {m}개; 도형 {f}개, 세그먼트 {s}개; 하나는 {x1} {y1} ~ {x2} {y2}',
    'Surveying the drawing…': '도면을 조사하는 중…',
    'Surveying the drawing… {p} %': '도면을 조사하는 중… {p} %',
    'The drawing has changed since this survey (or its layers were switched): press Survey again to see it as it is now.':
      '이 조사 뒤에 도면이 바뀌었습니다 (또는 레이어를 켜고 껐습니다): 지금 모습을 보려면 조사를 다시 누르십시오.',
    'Layers: {n}, {off} off': '레이어: {n}개, 꺼짐 {off}개',
    'A layer switched off is neither drawn nor selected. Switching is a setting of the view: Save keeps every layer as the file has it.':
      '끈 레이어는 그려지지도 선택되지도 않습니다. 켜고 끄기는 보기 설정이며, 저장하면 레이어는 파일에 있던 그대로입니다.',
    'on': '켬',
    'layer': '레이어',
    'segments': '세그먼트',
    'Show layer {name}': '레이어 {name} 표시',
    'Layer {name}: {n} segments, {state}': '레이어 {name}: 세그먼트 {n}개, {state}',
    'shown': '켜짐',
    'off': '꺼짐',
  };

  // The view serves the page in the command's language (the mLanguage setting).
  const language = document.documentElement.lang === 'en' ? 'en' : 'ko';
  TF.language = language;

  TF.t = (text, values) => {
    const said = language === 'ko' && Object.prototype.hasOwnProperty.call(KOREAN, text) ? KOREAN[text] : text;
    if (!values) return said;
    return said.replace(/\{(\w+)\}/g, (whole, name) => (name in values ? String(values[name]) : whole));
  };

  // The fixed texts of the page: each element's own text, its title, label and placeholder.
  function translatePage() {
    document.documentElement.lang = language;
    if (language !== 'ko') return;
    for (const el of document.body.querySelectorAll('*')) {
      for (const node of el.childNodes) {
        if (node.nodeType !== Node.TEXT_NODE) continue;
        const text = node.textContent.trim();
        if (text && Object.prototype.hasOwnProperty.call(KOREAN, text)) {
          node.textContent = node.textContent.replace(text, KOREAN[text]);
        }
      }
      for (const attribute of ['title', 'aria-label', 'placeholder']) {
        const text = el.getAttribute(attribute);
        if (text && Object.prototype.hasOwnProperty.call(KOREAN, text)) el.setAttribute(attribute, KOREAN[text]);
      }
    }
  }

  // The language button names the other language in that language; the page is loaded again
  // in it (the command and the drawing stay as they are on the tool's side).
  function setUpSwitch() {
    const button = document.getElementById('language');
    if (!button) return;
    // In English the button says Korean in English: an English screen holds no Korean.
    button.textContent = language === 'ko' ? 'English' : 'Korean';
    button.title = language === 'ko' ? 'Show the command and this page in English (kept in your settings)'
                                     : 'Show the command and this page in Korean (kept in your settings)';
    button.addEventListener('click', () => { if (TF.switchLanguage) TF.switchLanguage(language === 'ko' ? 'en' : 'ko'); });
  }

  window.addEventListener('DOMContentLoaded', () => {
    translatePage();
    setUpSwitch();
  });
})();
