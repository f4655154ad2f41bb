// Prints what Apache POI reads of each .ppt file given, one JSON object a
// line: its slides (number, title, text, notes, comments, hyperlinks of
// runs and of shapes, tables as rows of cell texts) and its two property
// sets; or the error POI met. The independent peer of
// tools/compare_with_poi.py.
//
//   javac -cp POI_JARS -d OUT tools/poi/PoiSlides.java
//   java -cp OUT:POI_JARS PoiSlides FILE...
import java.io.File;
import java.io.FileInputStream;
import java.io.InputStream;
import java.io.PrintStream;
import java.text.SimpleDateFormat;
import java.util.ArrayDeque;
import java.util.Date;
import java.util.Deque;
import java.util.List;
import java.util.TimeZone;

import org.apache.poi.hpsf.DocumentSummaryInformation;
import org.apache.poi.hpsf.SummaryInformation;
import org.apache.poi.hslf.usermodel.HSLFComment;
import org.apache.poi.hslf.usermodel.HSLFGroupShape;
import org.apache.poi.hslf.usermodel.HSLFHyperlink;
import org.apache.poi.hslf.usermodel.HSLFNotes;
import org.apache.poi.hslf.usermodel.HSLFShape;
import org.apache.poi.hslf.usermodel.HSLFSimpleShape;
import org.apache.poi.hslf.usermodel.HSLFSlide;
import org.apache.poi.hslf.usermodel.HSLFSlideShow;
import org.apache.poi.hslf.usermodel.HSLFTable;
import org.apache.poi.hslf.usermodel.HSLFTableCell;
import org.apache.poi.hslf.usermodel.HSLFTextShape;
import org.apache.poi.hslf.usermodel.HSLFTextParagraph;
import org.apache.poi.hslf.usermodel.HSLFTextRun;

public final class PoiSlides {
  private static final SimpleDateFormat ISO =
      new SimpleDateFormat("yyyy-MM-dd'T'HH:mm:ss'Z'");

  static {
    ISO.setTimeZone(TimeZone.getTimeZone("UTC"));
  }

  public static void main(String[] args) throws Exception {
    PrintStream out = new PrintStream(System.out, true, "UTF-8");
    for (String path : args) {
      StringBuilder json = new StringBuilder();
      json.append("{\"file\":").append(quote(new File(path).getName()));
      try (InputStream in = new FileInputStream(path);
           HSLFSlideShow show = new HSLFSlideShow(in)) {
        json.append(",\"ok\":true,\"slides\":[");
        boolean first = true;
        for (HSLFSlide slide : show.getSlides()) {
          if (!first) json.append(',');
          first = false;
          appendSlide(json, slide);
        }
        json.append("],\"properties\":");
        appendProperties(json, show.getSlideShowImpl().getSummaryInformation(),
                         show.getSlideShowImpl().getDocumentSummaryInformation());
      } catch (Throwable error) {
        json.setLength(0);
        json.append("{\"file\":").append(quote(new File(path).getName()));
        json.append(",\"ok\":false,\"error\":")
            .append(quote(error.getClass().getSimpleName() + ": "
                          + error.getMessage()));
      }
      json.append('}');
      out.println(json);
    }
  }

  private static String paragraphsText(
      List<List<HSLFTextParagraph>> boxes) {
    StringBuilder text = new StringBuilder();
    for (List<HSLFTextParagraph> box : boxes)
      text.append(HSLFTextParagraph.getRawText(box)).append('\n');
    return text.toString();
  }

  private static void appendSlide(StringBuilder json, HSLFSlide slide) {
    json.append("{\"number\":").append(slide.getSlideNumber());
    json.append(",\"title\":").append(quote(slide.getTitle()));
    List<List<HSLFTextParagraph>> boxes = slide.getTextParagraphs();
    json.append(",\"text\":").append(quote(paragraphsText(boxes)));
    HSLFNotes notes = slide.getNotes();
    json.append(",\"notes\":")
        .append(quote(notes == null ? "" : paragraphsText(
                                               notes.getTextParagraphs())));
    json.append(",\"links\":[");
    boolean first = true;
    for (List<HSLFTextParagraph> box : boxes)
      for (HSLFTextParagraph paragraph : box)
        for (HSLFTextRun run : paragraph.getTextRuns()) {
          HSLFHyperlink link = run.getHyperlink();
          if (link == null) continue;
          if (!first) json.append(',');
          first = false;
          json.append("{\"text\":").append(quote(run.getRawText()));
          json.append(",\"url\":").append(quote(link.getAddress())).append('}');
        }
    json.append("]");
    appendShapes(json, slide);
    json.append(",\"comments\":[");
    first = true;
    for (HSLFComment comment : slide.getComments()) {
      if (!first) json.append(',');
      first = false;
      json.append("{\"author\":").append(quote(comment.getAuthor()));
      json.append(",\"initials\":").append(quote(comment.getAuthorInitials()));
      json.append(",\"text\":").append(quote(comment.getText()));
      json.append(",\"date\":").append(date(comment.getDate())).append('}');
    }
    json.append("]}");
  }

  // The slide's tables (rows of the cells POI has) and the links of its
  // shapes' clicks (the shape's text, or null), groups entered.
  private static void appendShapes(StringBuilder json, HSLFSlide slide) {
    StringBuilder tables = new StringBuilder();
    StringBuilder links = new StringBuilder();
    Deque<HSLFShape> open = new ArrayDeque<>(slide.getShapes());
    while (!open.isEmpty()) {
      HSLFShape shape = open.poll();
      if (shape instanceof HSLFTable) {
        HSLFTable table = (HSLFTable) shape;
        tables.append(tables.length() == 0 ? "[" : ",[");
        for (int row = 0; row < table.getNumberOfRows(); ++row) {
          tables.append(row == 0 ? "[" : ",[");
          boolean first = true;
          for (int column = 0; column < table.getNumberOfColumns(); ++column) {
            HSLFTableCell cell = table.getCell(row, column);
            if (cell == null) continue;
            tables.append(first ? "" : ",").append(quote(cell.getText()));
            first = false;
          }
          tables.append(']');
        }
        tables.append(']');
      } else if (shape instanceof HSLFGroupShape) {
        for (HSLFShape child : ((HSLFGroupShape) shape).getShapes())
          open.add(child);
      } else if (shape instanceof HSLFSimpleShape) {
        HSLFHyperlink link = ((HSLFSimpleShape) shape).getHyperlink();
        if (link == null) continue;
        String text = shape instanceof HSLFTextShape
                          ? ((HSLFTextShape) shape).getText() : null;
        links.append(links.length() == 0 ? "" : ",");
        links.append("{\"text\":").append(quote(text));
        links.append(",\"address\":").append(quote(link.getAddress()));
        links.append(",\"label\":").append(quote(link.getLabel())).append('}');
      }
    }
    json.append(",\"tables\":[").append(tables).append(']');
    json.append(",\"shape_links\":[").append(links).append(']');
  }

  private static void appendProperties(StringBuilder json,
                                       SummaryInformation summary,
                                       DocumentSummaryInformation document) {
    json.append('{');
    if (summary != null) {
      json.append("\"title\":").append(quote(summary.getTitle()));
      json.append(",\"subject\":").append(quote(summary.getSubject()));
      json.append(",\"author\":").append(quote(summary.getAuthor()));
      json.append(",\"keywords\":").append(quote(summary.getKeywords()));
      json.append(",\"comments\":").append(quote(summary.getComments()));
      json.append(",\"last_saved_by\":").append(quote(summary.getLastAuthor()));
      json.append(",\"revision\":").append(quote(summary.getRevNumber()));
      json.append(",\"application\":")
          .append(quote(summary.getApplicationName()));
      json.append(",\"created\":").append(date(summary.getCreateDateTime()));
      json.append(",\"modified\":")
          .append(date(summary.getLastSaveDateTime()));
    }
    if (document != null) {
      if (summary != null) json.append(',');
      json.append("\"company\":").append(quote(document.getCompany()));
      json.append(",\"category\":").append(quote(document.getCategory()));
      json.append(",\"manager\":").append(quote(document.getManager()));
      json.append(",\"slides\":").append(document.getSlideCount());
      json.append(",\"notes\":").append(document.getNoteCount());
      json.append(",\"hidden_slides\":").append(document.getHiddenCount());
    }
    json.append('}');
  }

  private static String date(Date date) {
    return date == null ? "null" : quote(ISO.format(date));
  }

  private static String quote(String text) {
    if (text == null) return "null";
    StringBuilder out = new StringBuilder("\"");
    for (int i = 0; i < text.length(); ++i) {
      char c = text.charAt(i);
      if (c == '"' || c == '\\') {
        out.append('\\').append(c);
      } else if (c < 0x20 || Character.isSurrogate(c)) {
        boolean pair = Character.isHighSurrogate(c) && i + 1 < text.length()
                       && Character.isLowSurrogate(text.charAt(i + 1));
        if (pair) {
          out.append(c).append(text.charAt(++i));
        } else {
          out.append(String.format("\\u%04x",
                                   (int) (c < 0x20 ? c : 0xFFFD)));
        }
      } else {
        out.append(c);
      }
    }
    return out.append('"').toString();
  }
}
